"""--add-calendar as a user runs it: each country's list into an empty data file, after a dry run and before a
second run that adds nothing; the Czech sample holds the CZ list and becomes a Slovak data file.
Usage: countries_check.py SAMPLE.dat LISTS-FOLDER TOOL [ARGS...]"""
import collections, os, re, subprocess, sys, tempfile

sample, folder, tool = sys.argv[1], sys.argv[2], sys.argv[3:]
os.chdir(tempfile.mkdtemp())


def run(*args, code=0):
    done = subprocess.run(tool + list(args), capture_output=True, text=True, encoding='utf-8')
    assert done.returncode == code, (args, done.stdout, done.stderr)
    return done.stdout.splitlines()


def records():
    return re.findall(r'^(\d\d\.\d\d \d{4} .+?)\r?$', open('Tolvari.dat', 'rb').read().decode('cp1250'), re.M)


lists = {}
for name in sorted(n for n in os.listdir(folder) if n.endswith('.txt')):
    lines = open(os.path.join(folder, name), encoding='utf-8').read().splitlines()
    code, listed = name[:-4], [line for line in lines if line and line[0] != '#']
    lists[code] = listed
    open('Tolvari.dat', 'wb').write(b'')
    assert run('--add-calendar', code.lower(), '--dry-run')[:len(listed)] == listed, code
    assert open('Tolvari.dat', 'rb').read() == b'', 'a dry run writes nothing'
    note = 'For the %s holidays that move with Easter, put the line HOLIDAYS=%s in Tolvari.ini.' % (code, code)
    assert run('--add-calendar', code)[-2:] == ['%d added, 0 already there, 0 skipped' % len(listed), note]
    assert records() == listed, code
    written = open('Tolvari.dat', 'rb').read()
    assert run('--add-calendar', code)[-2] == '0 added, %d already there, 0 skipped' % len(listed)
    assert open('Tolvari.dat', 'rb').read() == written, 'the second run changes nothing'
run('--add-calendar', 'XX', code=2)

open('Tolvari.dat', 'wb').write(open(sample, 'rb').read())
open('Tolvari.ini', 'wb').write(b'FILE=Tolvari.dat\r\nHOLIDAYS=CZ\r\n')
assert run('--add-calendar', 'CZ')[-2:] == ['0 added, %d already there, 0 skipped' % len(lists['CZ']),
                                            'Tolvari.ini has HOLIDAYS=CZ: the holidays that move with Easter show too.']
kept = [r for r in records() if r not in lists['CZ']]
assert 'Note: the data file holds the CZ name days too' in run('--add-calendar', 'SK', '--dry-run')[-1]
run('--remove-calendar', 'CZ', '--add-calendar', 'SK')
assert collections.Counter(records()) == collections.Counter(kept + lists['SK'])
assert run('--remove-calendar', 'CZ', '--add-calendar', 'SK')[-2] == '0 added, %d already there, 0 skipped' % len(
    lists['SK'])

"""The export as calendar programs read it: python3-icalendar parses the file and dateutil expands each
rule; then the file is imported back. Usage: export_check.py SAMPLE.dat GEN TOOL [ARGS...]"""
import calendar, os, re, subprocess, sys, tempfile
from datetime import date, datetime, timedelta
from dateutil.rrule import rrulestr
from icalendar import Calendar

sample, gen, tool = sys.argv[1], sys.argv[2], sys.argv[3:]
os.chdir(tempfile.mkdtemp())
# Folds inside two-byte letters, escapes, 29 February of common years, the year's last day, twins.
extra = ('29.02 1987 Žofie, Šárka; \\ ' + 'Ž' * 80 + ' Čapek\r\n29.02 1900 Leap\r\n31.12 2000 Silvestr\r\n'
         '29.02 8888 Kmotr\r\n11.12 8888 Kmotra Alena\r\n5.3 1950 Not shown\r\n').encode('cp1250')
open('Tolvari.dat', 'wb').write(open(sample, 'rb').read() + extra)
subprocess.run([gen, '10000'], stdout=open('big.dat', 'wb'), check=True)


def run(*args, code=0):
    done = subprocess.run(tool + list(args), capture_output=True, text=True, encoding='utf-8')
    assert done.returncode == code, (args, done.stdout, done.stderr)
    return done.stdout.splitlines()


def records(name):  # the records of the usual layout, in file order
    return re.findall(r'^(\d\d)\.(\d\d) (\d{4}) (.+?)\r?$', open(name, 'rb').read().decode('cp1250'), re.M)


def export(data, *more):
    run('--data', data, '--export', 'out.ics', '--holidays', '--calendar', *more)
    return open('out.ics', 'rb').read()


def check(data, remind):
    first, raw = export(data, *remind), export(data, *remind)
    stamps = lambda b: re.sub(rb'DTSTAMP:\d{8}T\d{6}Z\r\n', b'', b)
    assert stamps(first) == stamps(raw), 'only DTSTAMP may differ'
    assert all(len(line) <= 75 for line in raw.split(b'\r\n')) and b'\n' not in raw.replace(b'\r\n', b'')
    events = Calendar.from_ical(raw.decode()).walk('VEVENT')
    assert len(events) == len(records(data)) == len({e['UID'] for e in events})
    for (day, month, year, name), event in zip(records(data), events):
        begin = 2024 if year in ('0000', '8888', '9999') else int(year)
        while (month, day) == ('02', '29') and not calendar.isleap(begin):
            begin += 1
        start = event['DTSTART'].dt
        assert (start, event['DTEND'].dt) == (date(begin, int(month), int(day)), start + timedelta(1)), name
        assert (event['SUMMARY'], event['X-TOLVARI-YEAR']) == (name, year)
        rule = rrulestr(event['RRULE'].to_ical().decode(), dtstart=datetime(start.year, start.month, start.day))
        years = [y for y in range(begin, begin + 12) if (month, day) != ('02', '29') or calendar.isleap(y)]
        assert list(rule[:3]) == [datetime(y, int(month), int(day)) for y in years[:3]], name
        alarms = [(a['ACTION'], a['DESCRIPTION'], a['TRIGGER'].dt) for a in event.walk('VALARM')]
        assert alarms == ([('DISPLAY', name, timedelta(days=-int(remind[1]), hours=9))] if remind else []), name
    assert run('--data', data, 'out.ics')[-1] == '0 added, %d already there, 0 skipped' % len(events)
    open('empty.dat', 'wb').write(b'[***CALENDAR***]\r\n')
    run('--data', 'empty.dat', 'out.ics')
    assert records('empty.dat') == list(dict.fromkeys(records(data))), 'the same records, each once'
    return raw


for days in '0', '1', '7':
    assert 'SUMMARY:Žofie\\, Šárka\\; \\\\ Ž'.encode() in check('Tolvari.dat', ['--remind-days', days])
# A record deleted: the other records keep their UIDs.
uids = lambda raw: re.findall(rb'UID:(\S+)', raw)
before = uids(check('big.dat', []))
lines = open('big.dat', 'rb').read().split(b'\r\n')
open('big.dat', 'wb').write(b'\r\n'.join(lines[:1] + lines[2:]))
after = uids(export('big.dat'))
assert after == before[1:]
assert run('--export', 'out.ics')[-1] == ('14 exported to out.ics, 1 skipped, 11 holidays left out (--holidays), '
                                          '366 calendar entries left out (--calendar)')
# Failures write nothing: an unreadable data file, nothing to export, a wrong command, an unwritable output.
kept = open('out.ics', 'rb').read()
open('none.dat', 'wb').write(b'[***CALENDAR***]\r\n')
for args, code in [(['--data', 'missing.dat'], 1), (['--data', 'none.dat'], 1), (['--remind-days', '31'], 2)]:
    run(*args, '--export', 'out.ics', code=code)
assert open('out.ics', 'rb').read() == kept
run('--export', 'Tolvari.dat', code=2)
run('--data', 'big.dat', '--export', 'big.dat/out.ics', code=1)
# A report that cannot be printed (to a full disk, a pipe nobody reads, or no output at all) is exit code 4 and
# a line on standard error; the calendar is written all the same.
reader, pipe = os.pipe()
os.close(reader)
for out in [dict(stdout=open('/dev/full', 'w')), dict(stdout=pipe), dict(preexec_fn=lambda: os.close(1))]:
    os.remove('out.ics')
    done = subprocess.run(tool + ['--export', 'out.ics'], stderr=subprocess.PIPE, **out)
    assert done.returncode == 4 and os.path.exists('out.ics') and b'could not be printed' in done.stderr, out

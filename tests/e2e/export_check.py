"""The export as calendar programs read it: python3-icalendar parses the file and dateutil expands each
rule, calcurse imports it and lists the days; then the file is imported back.
Usage: export_check.py SAMPLE.dat GEN TOOL [ARGS...]"""
import calendar, os, re, shutil, subprocess, sys, tempfile
from datetime import date, datetime, timedelta
from dateutil.easter import easter
from dateutil.rrule import rrulestr
from icalendar import Calendar

sample, gen, tool = sys.argv[1], sys.argv[2], sys.argv[3:]
os.chdir(tempfile.mkdtemp())
# Folds inside two-byte letters, escapes, 29 February of common years, the year's last day, twins, names
# that a calendar's title cannot hold exactly, one of blanks only.
extra = ('29.02 1987 Žofie, Šárka; \\ ' + 'Ž' * 80 + ' Čapek\r\n29.02 1900 Leap\r\n31.12 2000 Silvestr\r\n'
         '29.02 8888 Kmotr\r\n11.12 8888 Kmotra Alena\r\n5.3 1950 Not shown\r\n01.02 1970  Two  blanks \r\n'
         '02.02 1971 Tab\there\x01\r\n03.02 8888 \t \r\n').encode('cp1250') + b'04.02 1972 \x81 Undefined\r\n'
open('Tolvari.dat', 'wb').write(open(sample, 'rb').read() + extra)
subprocess.run([gen, '10000'], stdout=open('big.dat', 'wb'), check=True)
KINDS = {'0000': 'Calendar entries', '9999': 'Holidays'}


def run(*args, code=0):
    done = subprocess.run(tool + list(args), capture_output=True, text=True, encoding='utf-8')
    assert done.returncode == code, (args, done.stdout, done.stderr)
    return (done.stdout + done.stderr).splitlines()


def title(name):  # as a calendar shows it: control characters as blanks, one blank between words
    return ' '.join(re.sub(r'[\x00-\x1f\x7f]', ' ', re.sub('[\udc80-\udcff]', '?', name)).split())


def records(name):  # the records of the usual layout that have a title, in file order
    found = re.findall(r'^(\d\d)\.(\d\d) (\d{4}) (.+?)\r?$', open(name, 'rb').read().decode('cp1250', 'surrogateescape'), re.M)
    return [r for r in found if title(r[3])]


def export(data, *more):
    run('--data', data, '--export', 'out.ics', '--holidays', '--calendar', *more)
    return open('out.ics', 'rb').read()


def check(data, remind):
    first, raw = export(data, *remind), export(data, *remind)
    stamps = lambda b: re.sub(rb'DTSTAMP:\d{8}T\d{6}Z\r\n', b'', b)
    assert stamps(first) == stamps(raw), 'only DTSTAMP may differ'
    assert all(len(line) <= 75 for line in raw.split(b'\r\n')) and b'\n' not in raw.replace(b'\r\n', b'')
    ical = Calendar.from_ical(raw.decode())
    assert ical['X-WR-CALNAME'] == ical['NAME'] == 'Tolvari: birthdays and anniversaries with holidays and calendar entries'
    events = ical.walk('VEVENT')
    assert len(events) == len(records(data)) == len({e['UID'] for e in events})
    for (day, month, year, name), event in zip(records(data), events):
        begin = 2024 if year in ('0000', '8888', '9999') else int(year)
        while (month, day) == ('02', '29') and not calendar.isleap(begin):
            begin += 1
        start = event['DTSTART'].dt
        assert (start, event['DTEND'].dt) == (date(begin, int(month), int(day)), start + timedelta(1)), name
        assert (event['SUMMARY'], event['X-TOLVARI-YEAR']) == (title(name), year)
        assert (event['CATEGORIES'].cats, event.get('DESCRIPTION')) == (
            [KINDS.get(year, 'Birthdays and anniversaries')], None if year in ('0000', '8888', '9999') else 'Since ' + year)
        # A birthday of 29 February on the month's last day, as the window shows it; other entries on their day.
        rule = rrulestr(event['RRULE'].to_ical().decode(), dtstart=datetime(start.year, start.month, start.day))
        leap = (month, day) == ('02', '29')
        years = [y for y in range(begin, begin + 20) if not leap or year not in KINDS or calendar.isleap(y)]
        days = [datetime(y, 2, calendar.monthrange(y, 2)[1]) if leap else datetime(y, int(month), int(day)) for y in years]
        assert list(rule[:5]) == days[:5], name
        alarms = [(a['ACTION'], a['TRIGGER'].dt) for a in event.walk('VALARM')]
        assert alarms == ([('DISPLAY', timedelta(days=-int(remind[1]), hours=9))] if remind else []), name
        assert all(a['DESCRIPTION'].startswith(title(name)) for a in event.walk('VALARM')), name
    assert run('--data', data, 'out.ics')[-1] == '0 added, %d already there, 0 skipped' % len(events)
    open('empty.dat', 'wb').write(b'[***CALENDAR***]\r\n')
    run('--data', 'empty.dat', 'out.ics')
    assert records('empty.dat') == list(dict.fromkeys(records(data))), 'the same records, each once, exactly'
    return raw


def calcurse(ics, day):  # the titles calcurse lists on a day
    folder = tempfile.mkdtemp()
    assert ' / 0 skipped' in subprocess.run(['calcurse', '-D', folder, '-i', ics], capture_output=True, text=True).stdout
    shown = subprocess.run(['calcurse', '-D', folder, '-Q', '--from', day.strftime('%m/%d/%Y'), '--days', '1'],
                           capture_output=True, text=True, check=True).stdout
    shutil.rmtree(folder)
    return {line[3:] for line in shown.splitlines() if line.startswith(' * ')}


for days in '0', '1', '7':
    assert 'SUMMARY:Žofie\\, Šárka\\; \\\\ Ž'.encode() in check('Tolvari.dat', ['--remind-days', days])
common = next(y for y in range(2027, 2040) if not calendar.isleap(y))
assert {'Bratranec Ondřej', 'Kmotr', 'Leap', 'Lumír'} <= calcurse('out.ics', date(common, 2, 28)) and \
    'Horymír' not in calcurse('out.ics', date(common, 2, 28)) | calcurse('out.ics', date(common, 3, 1))
assert {'Bratranec Ondřej', 'Kmotr', 'Horymír'} <= calcurse('out.ics', date(2028, 2, 29))
# A record deleted: the other records keep their UIDs.
uids = lambda raw: re.findall(rb'UID:(\S+)', raw)
before = uids(check('big.dat', []))
lines = open('big.dat', 'rb').read().split(b'\r\n')
open('big.dat', 'wb').write(b'\r\n'.join(lines[:1] + lines[2:]))
after = uids(export('big.dat'))
assert after == before[1:]
assert run('--export', 'out.ics')[-2:] == ['skipped 03.02 8888 \t : a name of blanks only',
                                          '17 exported to out.ics, 2 skipped, 11 holidays left out (--holidays), '
                                          '366 calendar entries left out (--calendar)']
# The holidays that move with Easter of HOLIDAYS=, dated, this year and the next ten; passed over when read back.
open('Tolvari.ini', 'wb').write(b'FILE=Tolvari.dat\r\nHOLIDAYS=CZ\r\n')
moving = [e for e in Calendar.from_ical(export('Tolvari.dat').decode()).walk('VEVENT') if 'X-TOLVARI-MOVES' in e]
first = date.today().year
assert [(e['SUMMARY'], e['DTSTART'].dt, e['UID']) for e in moving] == [
    (name, easter(y) + timedelta(days), 'CZ-%d-easter%+d@tolvari' % (y, days))
    for y in range(first, first + 11) for name, days in (('Velký pátek', -2), ('Velikonoční pondělí', 1))]
assert {'Velikonoční pondělí'} <= calcurse('out.ics', easter(first + 1) + timedelta(1))
assert run('out.ics')[-1] == '0 added, %d already there, 2 skipped' % len(records('Tolvari.dat'))
# Failures write nothing: an unreadable data file, nothing to export, the data file itself as the output by
# another name (the command line's own refusals are the unit tests').
kept = open('out.ics', 'rb').read()
open('none.dat', 'wb').write(b'[***CALENDAR***]\r\n')
os.link('Tolvari.dat', 'link.ics')
for data in 'missing.dat', 'none.dat':
    run('--data', data, '--export', 'out.ics', code=1)
assert open('out.ics', 'rb').read() == kept
assert 'is the data file' in run('--export', 'link.ics', code=2)[-1]
assert open('Tolvari.dat', 'rb').read() == open(sample, 'rb').read() + extra
# A report that cannot be printed (to a full disk, a pipe nobody reads, or no output at all) is exit code 4 and
# a line on standard error; the calendar is written all the same.
reader, pipe = os.pipe()
os.close(reader)
for out in [dict(stdout=open('/dev/full', 'w')), dict(stdout=pipe), dict(preexec_fn=lambda: os.close(1))]:
    os.remove('out.ics')
    done = subprocess.run(tool + ['--export', 'out.ics'], stderr=subprocess.PIPE, **out)
    assert done.returncode == 4 and os.path.exists('out.ics') and b'could not be printed' in done.stderr, out

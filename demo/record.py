#!/usr/bin/env python3
"""Records what a user of the demo sees and checks it:

    record.py --display :N --ctl "CMD" --log FILE --conf FILE --manifest FILE --out DIR

While the player plays the songs of the manifest, it takes screenshots of the
player with its lyric window (PNG), an animated GIF of the first songs, and
screenshots of the mini window once the player is minimised. `CMD` runs the
demo's helper (democtl) under Wine; FILE is the plug-in's log (GBK).

It passes only when
  - the plug-in's log shows each recorded song's lyric loaded with all its
    lines, and each lyric line the view moved to is the song's line for the
    play position it was shown at;
  - the lyric window is not blank, shows the highlight colour of conf.ini,
    and its picture changes between shots at which the log has different
    current lines; the mini window is not blank and its line moves on.
Prints what it checked; exit code 0 when everything held.
"""
import argparse
import datetime
import json
import os
import re
import shlex
import subprocess
import sys
import time

from PIL import Image, ImageChops, ImageGrab

CODE_PAGE = 'gbk'
FPS = 4
PLAYER_KINDS = ('player', 'equalizer', 'playlist')
# The classes of the plug-in's lyric windows (the skinned ones and the plain
# ones drawn before the skins existed); other windows of the player's process
# count only when none of these shows.
LYRIC_CLASSES = ('ZoLyricMainWindow', 'ZoLyricMiniWindow', 'ZoLyricPlainWindow')


class Failure(Exception):
    pass


def wait_for(what, predicate, seconds):
    deadline = time.time() + seconds
    while True:
        value = predicate()
        if value:
            return value
        if time.time() > deadline:
            raise Failure(f'timed out waiting for {what}')
        time.sleep(0.2)


class Demo:
    def __init__(self, a):
        self.a = a
        self.ctl = shlex.split(a.ctl)
        self.songs = json.load(open(a.manifest, encoding='utf-8'))
        self.shots = []      # (file name, capture time, lyric box, kind)
        self.frames = []     # GIF frames
        self.region = None
        self.checks = []
        os.makedirs(a.out, exist_ok=True)

    # ---- the player, through democtl ----------------------------------------
    def control(self, *args):
        r = subprocess.run(self.ctl + list(args), capture_output=True)
        return r.returncode, r.stdout.decode(CODE_PAGE, 'replace')

    def windows(self):
        code, text = self.control('windows')
        found = []
        for line in text.splitlines():
            m = re.match(r'(\w+) (\d) (-?\d+) (-?\d+) (\d+) (\d+) ([^|]*)\|(.*)', line)
            if m:
                kind, visible, x, y, w, h, cls, title = m.groups()
                found.append({'kind': kind, 'visible': visible == '1', 'box': (int(x), int(y), int(x) + int(w),
                              int(y) + int(h)), 'class': cls, 'title': title})
        return found

    def lyric_windows(self):
        """The plug-in's visible windows, its lyric windows first, then
        largest first: everything of the player's process that is not one of
        the player's own."""
        found = [w for w in self.windows() if w['visible'] and w['kind'] not in PLAYER_KINDS
                 and w['class'] != 'IME' and w['box'][2] - w['box'][0] > 40]
        return sorted(found, key=lambda w: (w['class'] not in LYRIC_CLASSES,
                                            -(w['box'][2] - w['box'][0]) * (w['box'][3] - w['box'][1])))

    # ---- the plug-in's log -------------------------------------------------
    def log(self):
        try:
            return open(self.a.log, 'rb').read().decode(CODE_PAGE, 'replace')
        except OSError:
            return ''

    @staticmethod
    def log_time(line):
        m = re.match(r'\s*\[(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d\d\d)\]', line)
        if not m:
            return None
        mo, d, h, mi, s, ms = map(int, m.groups())
        now = datetime.datetime.now()
        return datetime.datetime(now.year, mo, d, h, mi, s, ms * 1000).timestamp()

    def ready(self, song):
        needle = f"status 5, {len(song['lines'])} lines:{song['path']}"
        return needle in self.log()

    # ---- pictures ------------------------------------------------------------
    def grab(self):
        return ImageGrab.grab(xdisplay=self.a.display)

    def frame_region(self):
        boxes = [w['box'] for w in self.windows() if w['visible'] and w['class'] != 'IME']
        m = 12
        return (max(0, min(b[0] for b in boxes) - m), max(0, min(b[1] for b in boxes) - m),
                max(b[2] for b in boxes) + m, max(b[3] for b in boxes) + m)

    def shoot(self, name, lyric_box, kind, image=None, at=None):
        image = image or self.grab()
        at = at or time.time()
        image.crop(self.region).save(os.path.join(self.a.out, name))
        self.shots.append({'name': name, 'at': at, 'box': lyric_box, 'kind': kind, 'image': image})
        print(f'demo: {name}')

    def record_song(self, index, seconds, shots, gif):
        """The GIF from the moment the lyric arrived (the view's intro
        included); the screenshots once the view has reached the first line
        and draws the lyric (its highlight colour shows)."""
        song = self.songs[index]
        wait_for(f"the lyric of {song['title']}", lambda: self.ready(song), 60)
        lyric = wait_for('the lyric window', self.lyric_windows, 20)[0]['box']
        self.region = self.frame_region()
        arrived, series, taken = time.time(), None, 0
        every = seconds / shots
        while series is None or time.time() - series < seconds:
            t = time.time()
            image = self.grab()
            if series is None and (t - arrived > 10 or (any(s[1] == index for s in self.shown_lines())
                                                        and self.lit(image.crop(lyric)) > 0)):
                series = t
            if gif:
                self.frames.append(image.crop(self.region))
            if series is not None and t >= series + taken * every:
                taken += 1
                self.shoot(f'{index + 1}-{song["title"]}-{taken}.png'.replace(' ', '_'), lyric, 'main', image, t)
            time.sleep(max(0.0, 1.0 / FPS - (time.time() - t)))

    def record_mini(self):
        before = {w['box'] for w in self.lyric_windows()}
        self.control('minimize')
        mini = wait_for('the mini window', lambda: [w for w in self.lyric_windows() if w['box'] not in before], 20)
        box = mini[0]['box']
        self.region = (max(0, box[0] - 40), max(0, box[1] - 30), box[2] + 40, box[3] + 30)
        for n in (1, 2):
            time.sleep(1.5)
            self.shoot(f'mini-{n}.png', box, 'mini')
        self.control('restore')

    def write_gif(self):
        if not self.frames:
            return
        size = self.frames[0].size
        frames = [f.resize(size).convert('P', palette=Image.ADAPTIVE, colors=128) for f in self.frames]
        frames[0].save(os.path.join(self.a.out, 'demo.gif'), save_all=True, append_images=frames[1:],
                       duration=int(1000 / FPS), loop=0, optimize=True)
        print('demo: demo.gif')

    # ---- checks --------------------------------------------------------------
    def check(self, ok, text):
        self.checks.append((ok, text))
        print(f"demo: {'ok  ' if ok else 'FAIL'} {text}")

    def shown_lines(self):
        """(time, song index, line number, position, text) of every lyric
        line the log says the view moved to, with the song it belongs to."""
        out, current = [], None
        for line in self.log().splitlines():
            for i, song in enumerate(self.songs):
                if f"status 5, {len(song['lines'])} lines:{song['path']}" in line:
                    current = i
            m = re.search(r'Lyric line (\d+) of (\d+) at (-?\d+) ms: (.*)$', line)
            if m and current is not None:
                out.append((self.log_time(line), current, int(m.group(1)), int(m.group(3)), m.group(4)))
        return out

    def check_log(self, recorded):
        shown = self.shown_lines()
        for i in recorded:
            song = self.songs[i]
            self.check(self.ready(song), f"log: {song['title']} loaded with its {len(song['lines'])} lines")
            mine = [s for s in shown if s[1] == i]
            numbers = sorted({s[2] for s in mine})
            self.check(len(numbers) >= 3, f"log: {song['title']}: the view moved through lines {numbers}")
            for _, _, n, position, text in mine:
                lines = song['lines']
                expected = lines[n - 1]
                after = lines[n]['ms'] if n < len(lines) else 10 ** 9
                self.check(text == expected['text'] and expected['ms'] <= position < after,
                           f"log: line {n} \"{text}\" at {position} ms is the song's line "
                           f"{expected['ms']}-{after} ms \"{expected['text']}\"")

    def highlight(self):
        """The highlight colour of conf.ini as (r, g, b)."""
        value = 65280
        for line in open(self.a.conf, 'rb').read().decode(CODE_PAGE, 'replace').splitlines():
            if line.strip().lower().startswith('highlightrgb='):
                value = int(line.split('=', 1)[1])
        return value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF

    def lit(self, area):
        """How many pixels of `area` have the highlight colour."""
        colour = self.highlight()
        return sum(1 for p in area.convert('RGB').getdata() if sum(abs(a - b) for a, b in zip(p, colour)) < 60)

    def check_pixels(self):
        colour = self.highlight()
        shown = self.shown_lines()
        previous = previous_mini = None
        for shot in self.shots:
            area = shot['image'].crop(shot['box']).convert('RGB')
            pixels = list(area.getdata())
            background = max(area.getcolors(maxcolors=1 << 24))[1]
            ink = sum(1 for p in pixels if p != background)
            self.check(ink * 50 > len(pixels), f"pixels: {shot['name']}: {ink} of {len(pixels)} lyric window "
                       f"pixels are drawn on its background")
            if shot['kind'] != 'main':
                # One line that scrolls sideways: it moves between two shots.
                if previous_mini:
                    moved = ImageChops.difference(previous_mini, area).getbbox() is not None
                    self.check(moved, f"pixels: {shot['name']}: the mini window's line moved on")
                previous_mini = area
                continue
            lit = self.lit(area)
            self.check(lit >= 20, f"pixels: {shot['name']}: {lit} pixels in the highlight colour {colour}")
            line = [s for s in shown if s[0] is not None and s[0] <= shot['at']]
            line = (line[-1][1], line[-1][2]) if line else None
            if previous and line and previous[1] and line != previous[1]:
                changed = ImageChops.difference(previous[0], area).getbbox() is not None
                self.check(changed, f"pixels: {shot['name']}: the lyric window changed with the current line "
                           f"(song {previous[1][0] + 1} line {previous[1][1]} -> song {line[0] + 1} line {line[1]})")
            previous = (area, line)

    def run(self):
        wait_for('the player', lambda: self.control('windows')[0] == 0, 30)
        self.record_song(0, 8, 4, gif=True)
        self.control('next')
        self.record_song(1, 6, 3, gif=True)
        self.record_mini()
        self.write_gif()
        self.check_log([0, 1])
        self.check_pixels()
        failed = [t for ok, t in self.checks if not ok]
        with open(os.path.join(self.a.out, 'checks.txt'), 'w', encoding='utf-8') as f:
            for ok, text in self.checks:
                f.write(f"{'ok  ' if ok else 'FAIL'} {text}\n")
        return not failed


def main():
    p = argparse.ArgumentParser()
    for name in ('--display', '--ctl', '--log', '--conf', '--manifest', '--out'):
        p.add_argument(name, required=True)
    demo = Demo(p.parse_args())
    try:
        ok = demo.run()
    except Failure as e:
        print(f'demo: FAIL {e}', file=sys.stderr)
        print(demo.log()[-3000:], file=sys.stderr)
        return 1
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())

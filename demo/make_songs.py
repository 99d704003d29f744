#!/usr/bin/env python3
"""Makes the demo's songs from the lyric sources in demo/songs/*.lrc:

    make_songs.py SONGS_DIR --music DIR --music-windows WINDIR
                  --library DIR --playlist FILE --manifest FILE

For each source it writes a real MP3 file (an ID3v2.3 tag with title, artist
and album, then MPEG-1 layer III frames of silence) named "Artist - Title.mp3"
into the music folder, and the lyric as "Artist-Title.lrc" into the lyric
server's library; both in the users' code page (GBK), as on a Chinese
Windows. The playlist (M3U, GBK) names the songs by their Windows paths; the
manifest (JSON, UTF-8) lists each song's path, names and timed lines for the
demo's checks.
"""
import argparse
import json
import os
import re

CODE_PAGE = 'gbk'
FRAME_SECONDS = 1152 / 44100
TAIL_SECONDS = 6  # the song runs on after its last line


def id3v2_tag(title, artist, album):
    """ID3v2.3 with text frames in encoding 0, holding code-page bytes as
    Chinese players write them."""
    def frame(frame_id, text):
        body = b'\x00' + text.encode(CODE_PAGE)
        return frame_id + len(body).to_bytes(4, 'big') + b'\x00\x00' + body
    frames = frame(b'TIT2', title) + frame(b'TPE1', artist) + frame(b'TALB', album) + bytes(256)
    size = len(frames)
    syncsafe = bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))
    return b'ID3\x03\x00\x00' + syncsafe + frames


def silent_frames(seconds, salt):
    """MPEG-1 layer III, 128 kbit/s, 44.1 kHz, mono: a zero side-information
    block means no audio data in either granule, so every frame decodes to
    silence. The rest of each frame is ancillary data that no decoder plays;
    it differs per song, so that every song has audio of its own."""
    header = b'\xFF\xFB\x90\xC4'
    side_info = bytes(17)
    filler_size = 417 - len(header) - len(side_info)
    out = bytearray()
    x = (salt * 2654435761 + 1) & 0xFFFFFFFF
    for _ in range(int(seconds / FRAME_SECONDS) + 1):
        filler = bytearray(filler_size)
        for i in range(0, filler_size, 8):
            x = (x * 1103515245 + 12345) & 0xFFFFFFFF
            filler[i] = x >> 24
        out += header + side_info + filler
    return bytes(out)


def read_source(path):
    tags, lines = {}, []
    with open(path, encoding='utf-8') as f:
        for raw in f:
            raw = raw.rstrip('\r\n')
            tag = re.fullmatch(r'\[(ti|ar|al):(.*)\]', raw)
            timed = re.fullmatch(r'\[(\d+):(\d+)\.(\d+)\](.*)', raw)
            if tag:
                tags[tag.group(1)] = tag.group(2).strip()
            elif timed:
                ms = (int(timed.group(1)) * 60 + int(timed.group(2))) * 1000 + int(timed.group(3)) * 10
                lines.append((ms, timed.group(4)))
    return tags, lines


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    p.add_argument('songs')
    p.add_argument('--music', required=True)
    p.add_argument('--music-windows', required=True)
    p.add_argument('--library', required=True)
    p.add_argument('--playlist', required=True)
    p.add_argument('--manifest', required=True)
    a = p.parse_args()
    os.makedirs(a.music, exist_ok=True)
    os.makedirs(a.library, exist_ok=True)

    songs, playlist = [], ['#EXTM3U']
    for salt, name in enumerate(sorted(n for n in os.listdir(a.songs) if n.endswith('.lrc')), start=1):
        source = os.path.join(a.songs, name)
        tags, lines = read_source(source)
        title, artist, album = tags['ti'], tags['ar'], tags.get('al', '')
        length = lines[-1][0] // 1000 + TAIL_SECONDS
        file_name = f'{artist} - {title}.mp3'
        with open(os.path.join(a.music, file_name), 'wb') as f:
            f.write(id3v2_tag(title, artist, album) + silent_frames(length, salt))
        with open(source, encoding='utf-8') as f:
            lrc = f.read().replace('\r\n', '\n').replace('\n', '\r\n')
        with open(os.path.join(a.library, f'{artist}-{title}.lrc'), 'wb') as f:
            f.write(lrc.encode(CODE_PAGE))
        windows_path = a.music_windows.rstrip('\\') + '\\' + file_name
        playlist += [f'#EXTINF:{length},{artist} - {title}', windows_path]
        songs.append({'path': windows_path, 'artist': artist, 'title': title, 'length': length,
                      'lines': [{'ms': ms, 'text': text} for ms, text in lines]})

    with open(a.playlist, 'wb') as f:
        f.write(('\r\n'.join(playlist) + '\r\n').encode(CODE_PAGE))
    with open(a.manifest, 'w', encoding='utf-8') as f:
        json.dump(songs, f, ensure_ascii=False, indent=1)


if __name__ == '__main__':
    main()

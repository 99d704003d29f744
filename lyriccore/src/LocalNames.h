#pragma once
// Names and folders of the local resource store and of the user's lyric
// copies. The resource folder R (install home + "\Resource\") holds:
//   R info\<key>.info                     the song's info file
//   R Artist\<artist>.jpg, _swf.jpg, _swf.sig   artist pictures, Flash signature
//   R MTV\<artist>-<title>_flv.jpg, _flv.sig     MV picture and signature
//   R Lyric\<artist>-<title>.lrc                 lyric file
#include <string>
#include <vector>

#include "shared/LyricSettings.h"

namespace zl {

// Every '/' becomes '\'.
std::string NormalizeSongPath(const std::string& path);

// A name fit to be part of a file name: the characters Windows refuses in
// names (\ / : * ? " < > | and control bytes) become '_'. Double-byte
// characters pass whole, so their trail bytes are never taken for '\'.
std::string FileNamePart(const std::string& name);

// folder and name joined with exactly one '\' ("" folder: the name alone).
std::string JoinPath(const std::string& folder, const std::string& name);

// The file names within R ("<artist>-<title>.lrc" and the like), built from
// FileNamePart of the names.
std::string InfoFilePath(const std::string& resourceDir, const std::string& key);
std::string ArtistPicturePath(const std::string& resourceDir, const std::string& artist);
std::string ArtistSwfPicturePath(const std::string& resourceDir, const std::string& artist);
std::string ArtistSwfSignaturePath(const std::string& resourceDir, const std::string& artist);
std::string MvPicturePath(const std::string& resourceDir, const std::string& artist, const std::string& title);
std::string MvSignaturePath(const std::string& resourceDir, const std::string& artist, const std::string& title);
std::string ResourceLyricPath(const std::string& resourceDir, const std::string& artist, const std::string& title);
// "<artist>-<title>.lrc".
std::string LyricFileName(const std::string& artist, const std::string& title);

// Where the user's copy of a fetched lyric goes. Name: the song file's name
// with ".lrc" when SaveLrcFileAsSongFileName is 1 (and there is a song
// file), else "<artist>-<title>.lrc". Folder: the song's folder when
// SaveLrcInSongPath is 1 (and there is one), else LrcSavePath when
// SaveLrcInOtherPath is 1, else the lyric folder.
std::string UserLyricCopyPath(const LyricSettings& settings, const std::string& songPath, const std::string& artist,
                              const std::string& title, const std::string& lyricDir);

// "<folder>\<artist>-<title>.lrc" for each local lyric folder, in the
// order of the list.
std::vector<std::string> LocalLyricCandidates(const std::vector<LocalLyricFolder>& folders, const std::string& artist,
                                              const std::string& title);

// Case-insensitive comparison of two paths, '/' and '\' alike.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace zl

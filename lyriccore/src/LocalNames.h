#pragma once
// Names and folders of the local resource store and of the user's lyric
// copies. The resource folder R (install home + "\Resource\") holds:
//   R info\<key>.info                     the song's info file
//   R Artist\<artist>.jpg, _swf.jpg, _swf.sig   artist pictures, Flash signature
//   R MTV\<artist>-<title>_flv.jpg, _flv.sig     MV picture and signature
//   R Lyric\<artist>-<title>.lrc                 lyric file
#include <string>
#include <vector>

#include "lyriccore/Export.h"
#include "shared/LyricSettings.h"

namespace zl {

// Every '/' becomes '\'.
LYRICCORE_API std::string NormalizeSongPath(const std::string& path);

// A name fit to be part of a file name: the characters Windows refuses in
// names (\ / : * ? " < > | and control bytes) become '_'. Double-byte
// characters pass whole, so their trail bytes are never taken for '\'.
LYRICCORE_API std::string FileNamePart(const std::string& name);

// folder and name joined with exactly one '\' ("" folder: the name alone).
LYRICCORE_API std::string JoinPath(const std::string& folder, const std::string& name);

// The song file's folder (without its last '\') and its name without the
// extension; "" when the path has none.
LYRICCORE_API std::string SongFolder(const std::string& songPath);
LYRICCORE_API std::string SongFileStem(const std::string& songPath);

// The file names within R ("<artist>-<title>.lrc" and the like), built from
// FileNamePart of the names.
LYRICCORE_API std::string InfoFilePath(const std::string& resourceDir, const std::string& key);
LYRICCORE_API std::string ArtistPicturePath(const std::string& resourceDir, const std::string& artist);
LYRICCORE_API std::string ArtistSwfPicturePath(const std::string& resourceDir, const std::string& artist);
LYRICCORE_API std::string ArtistSwfSignaturePath(const std::string& resourceDir, const std::string& artist);
LYRICCORE_API std::string MvPicturePath(const std::string& resourceDir, const std::string& artist,
                                        const std::string& title);
LYRICCORE_API std::string MvSignaturePath(const std::string& resourceDir, const std::string& artist,
                                          const std::string& title);
LYRICCORE_API std::string ResourceLyricPath(const std::string& resourceDir, const std::string& artist,
                                            const std::string& title);
// "<artist>-<title>.lrc".
LYRICCORE_API std::string LyricFileName(const std::string& artist, const std::string& title);

// Where the user's copy of a fetched lyric goes. Name: the song file's name
// with ".lrc" when SaveLrcFileAsSongFileName is 1 (and there is a song
// file), else "<artist>-<title>.lrc". Folder: the song's folder when
// SaveLrcInSongPath is 1 (and there is one), else LrcSavePath when
// SaveLrcInOtherPath is 1, else the lyric folder.
LYRICCORE_API std::string UserLyricCopyPath(const LyricSettings& settings, const std::string& songPath,
                                            const std::string& artist, const std::string& title,
                                            const std::string& lyricDir);

// "<folder>\<artist>-<title>.lrc" for each local lyric folder, in the
// order of the list.
LYRICCORE_API std::vector<std::string> LocalLyricCandidates(const std::vector<LocalLyricFolder>& folders,
                                                            const std::string& artist,
                                                            const std::string& title);

// Case-insensitive comparison of two paths, '/' and '\' alike.
LYRICCORE_API bool SamePath(const std::string& a, const std::string& b);

}  // namespace zl

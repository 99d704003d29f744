#pragma once
// The engine's records and enumerations. They cross the DLL boundary in the
// signatures of ZLyric and are written to info files, so the plain records
// are pinned in size and layout for the 32-bit and the 64-bit build alike.
//
// Text fields are NUL-terminated byte strings in the system code page
// (GBK); names hold at most 99 bytes, paths 259. Longer values are cut,
// never inside a double-byte character.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lyriccore/LrcText.h"
#include "shared/SignPair.h"


// One candidate resource on the lyric server.
struct SearchItem {
  char artist[100];
  char title[100];
  char provider[100];
  char resPath[260];  // the server's path; empty for a search by names
};
static_assert(sizeof(SearchItem) == 560, "SearchItem layout");
static_assert(offsetof(SearchItem, title) == 100 && offsetof(SearchItem, provider) == 200 &&
                  offsetof(SearchItem, resPath) == 300,
              "SearchItem layout");

// What is known of one song's resources.
struct Content {
  char artist[100];
  char title[100];
  char album[100];
  char artist_pic_path[260];
  char artist_swf_pic[260];  // the artist picture of the Flash show
  SignPair artist_swf_signature;
  char song_flv_pic_path[260];
  SignPair song_flv_signature;
  char lrc_path[260];
  LrcTags tags;                          // of the file at lrc_path
  std::vector<TimeSentence> sentences;  // the parsed lyric
  std::vector<LineWords> words;         // its word times: none, or one entry per sentence
};
static_assert(offsetof(Content, title) == 100 && offsetof(Content, album) == 200 &&
                  offsetof(Content, artist_pic_path) == 300 &&
                  offsetof(Content, artist_swf_pic) == 560 &&
                  offsetof(Content, artist_swf_signature) == 820 &&
                  offsetof(Content, song_flv_pic_path) == 828 &&
                  offsetof(Content, song_flv_signature) == 1088 &&
                  offsetof(Content, lrc_path) == 1096 && offsetof(Content, tags) == 1356,
              "Content layout");

// Empties every field and the sentence list.
LYRICCORE_API void ClearContent(Content& c);

// A lyric file the user shares.
struct LrcItem {
  char artist[100];
  char title[100];
  char album[100];
  char uploader[100];
  char lrcPath[260];
};
static_assert(sizeof(LrcItem) == 660 && offsetof(LrcItem, uploader) == 300 &&
                  offsetof(LrcItem, lrcPath) == 400,
              "LrcItem layout");

// Advice to the caller on the song's tags.
struct tagUpdateInfo {
  uint8_t bGoon;    // the song's goonrec: recognition is to go on
  uint8_t bUpdate;  // 1: offer to write the recognised names into the tags
  char finalTitle[100];
  char finalArtist[100];
  char finalAlbum[100];
  char recTitle[100];
  char recArtist[100];
  char recAlbum[100];
};
static_assert(sizeof(tagUpdateInfo) == 602, "tagUpdateInfo layout");
static_assert(offsetof(tagUpdateInfo, bUpdate) == 1 && offsetof(tagUpdateInfo, finalTitle) == 2 &&
                  offsetof(tagUpdateInfo, finalArtist) == 102 &&
                  offsetof(tagUpdateInfo, finalAlbum) == 202 &&
                  offsetof(tagUpdateInfo, recTitle) == 302 &&
                  offsetof(tagUpdateInfo, recArtist) == 402 &&
                  offsetof(tagUpdateInfo, recAlbum) == 502,
              "tagUpdateInfo layout");

// The engine's record of the current song. Where the server's match came
// from ("tag", "rec", "fln") is kept beside it by the engine.
struct SongFileAtr {
  char songPath[260];  // as the player gave it, with '\' separators
  char artist[100];    // names as the player gave them
  char title[100];
  char album[100];
  char tagArtist[100];  // names from the file's tags
  char tagTitle[100];
  char tagAlbum[100];
  uint32_t nKbps;     // 0 when unknown or outside 1-999
  uint32_t unLength;  // seconds
  uint8_t goonrec;    // recognition is to be tried again
  int32_t recTime;    // when recognition last ran, seconds since 1970
  char recArtist[100];
  char recTitle[100];
  char recAlbum[100];
  char FP[4100];  // fingerprint text
  uint32_t sig1;
  uint32_t sig2;
  char finalArtist[100];  // the names the server finally matched
  char finalTitle[100];
  char finalAlbum[100];
  int32_t updTime;  // when the info file was last written, seconds since 1970
};
static_assert(sizeof(SongFileAtr) == 5588, "SongFileAtr layout");
static_assert(offsetof(SongFileAtr, artist) == 260 && offsetof(SongFileAtr, tagArtist) == 560 &&
                  offsetof(SongFileAtr, nKbps) == 860 && offsetof(SongFileAtr, unLength) == 864 &&
                  offsetof(SongFileAtr, goonrec) == 868 && offsetof(SongFileAtr, recTime) == 872 &&
                  offsetof(SongFileAtr, recArtist) == 876 && offsetof(SongFileAtr, FP) == 1176 &&
                  offsetof(SongFileAtr, sig1) == 5276 && offsetof(SongFileAtr, sig2) == 5280 &&
                  offsetof(SongFileAtr, finalArtist) == 5284 &&
                  offsetof(SongFileAtr, finalAlbum) == 5484 &&
                  offsetof(SongFileAtr, updTime) == 5584,
              "SongFileAtr layout");

// One song's recognition record. The engine hands it to the recognition
// engine (fpmatch.exe) through the hand-over file, that program fills the
// fingerprint part and writes it back, and the recognition server's answer
// fills the names. 2720 bytes in both builds: the hand-over file holds it raw.
struct RecoTagInfo {
  int32_t resultId;  // the answer's first field
  int32_t reserved4;
  // Before the run the song's final title, artist and album (127, 127 and
  // 255 bytes); after a found answer the recognised ones.
  char title[128];
  char artist[128];
  // The answer's album may use all 768 bytes; before the answer the bytes
  // from 256 on hold the recognition engine's three metadata texts (128
  // each, at offsets 520, 648 and 776 of the record).
  char album[768];
  char field5[32];  // the answer's fifth to eighth fields
  char field6[32];
  char field7[128];
  char field8[32];
  uint32_t fp[256];        // fingerprint words, from the recognition engine
  uint32_t audioSig[2];    // audio signature, from the recognition engine
  char songPath[260];      // the song file, put there by the engine
  int32_t status;          // RECO_STATUS_*
  int32_t metaNumber1;     // the recognition engine's two metadata numbers
  int32_t metaNumber2;
  char reserved2560[32];
  char lastField[128];  // the answer's tenth field
};
static_assert(sizeof(RecoTagInfo) == 2720, "RecoTagInfo layout");
static_assert(offsetof(RecoTagInfo, title) == 8 && offsetof(RecoTagInfo, artist) == 136 &&
                  offsetof(RecoTagInfo, album) == 264 && offsetof(RecoTagInfo, field5) == 1032 &&
                  offsetof(RecoTagInfo, field6) == 1064 && offsetof(RecoTagInfo, field7) == 1096 &&
                  offsetof(RecoTagInfo, field8) == 1224 && offsetof(RecoTagInfo, fp) == 1256 &&
                  offsetof(RecoTagInfo, audioSig) == 2280 && offsetof(RecoTagInfo, songPath) == 2288 &&
                  offsetof(RecoTagInfo, status) == 2548 && offsetof(RecoTagInfo, metaNumber1) == 2552 &&
                  offsetof(RecoTagInfo, metaNumber2) == 2556 && offsetof(RecoTagInfo, lastField) == 2592,
              "RecoTagInfo layout");

// What a RecoTagInfo's status says.
enum RecoStatus : int32_t {
  RECO_STATUS_FOUND = 1,
  RECO_STATUS_FAILED = 2,
  RECO_STATUS_NOT_KNOWN = 3,   // the server does not know the song
  RECO_STATUS_NO_ANSWER = 11,  // the server did not answer
};

// How a server operation went.
enum Result : int32_t {
  RESULT_NET_ERR = 0,  // no server, or the connection failed or was closed
  RESULT_OK = 1,       // the server answered in its format, or the local answer is complete
  RESULT_FAIL = 2,     // the request could not be set up, or the answer was not in the format
};

// What an answer holds. 2 is never produced.
enum ResultType : int32_t {
  RESULT_TYPE_LIST = 0,      // candidates in the SearchItem list
  RESULT_TYPE_CONTENT = 1,   // a resource in the Content
  RESULT_TYPE_NONE = 3,      // nothing for this song
  RESULT_TYPE_STALE = 4,     // found locally, but its info is old: ask the server
};

// What of a resource is on disk.
enum Pre_Set_State : int32_t {
  PRE_SET_NONE = 0,  // no artist picture, or the Flash picture or its signature missing
  PRE_SET_PART = 1,  // artist pictures there; lyric or MV picture missing
  PRE_SET_FULL = 2,  // artist pictures, lyric and MV picture with signature
};

// Kind of a server search.
enum SearchType : int32_t {
  SEARCH_BY_RECOGNITION = 0,
  SEARCH_BY_NAMES = 1,
  SEARCH_AUTOMATIC = 2,
};

static_assert(sizeof(Result) == 4 && sizeof(ResultType) == 4 && sizeof(Pre_Set_State) == 4 &&
                  sizeof(SearchType) == 4,
              "enumerations cross the boundary as 32-bit values");

#pragma once
// How the P2P server stand-in runs: read from "ZoSvr.ini" beside the program
// (section [server], so that a server started without arguments knows what
// to do), then from the command line, which wins.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ServerWire.h"

namespace p2pserver {

enum class Fault { None, NoPeer, NetworkError, Stall, Hang, FailHalfway };

struct Options {
  std::string library;  // resources as "<first>-<second>.<ext>"
  std::string store;    // where downloads are written
  uint32_t rate = 1 << 20;  // bytes per second
  uint32_t tickMs = 100;
  Fault fault = Fault::None;
  std::map<Pair, Fault> faults;  // per resource
  uint32_t stallAt = 30;         // percent where a stall stops
  uint32_t holdAt = 101;         // percent where writing waits for the release event
  std::string releaseEvent;
  std::string log;  // one line per record received

  Fault FaultFor(const Pair& p) const {
    auto it = faults.find(p);
    return it == faults.end() ? fault : it->second;
  }
};

// "nopeer", "neterror", "stall", "hang", "halfway".
bool ParseFault(const std::string& text, Fault& fault);
// One "key=value" setting (the ini keys and the options without "--").
// "fault" takes MODE or MODE@first,second. False for an unknown key or value.
bool ApplySetting(Options& o, const std::string& key, const std::string& value);
// "--key value" pairs; false with a message on a bad one.
bool ParseArguments(const std::vector<std::string>& args, Options& o, std::string& error);

}  // namespace p2pserver

#include "ServerOptions.h"

#include <cstdlib>

namespace p2pserver {

bool ParseFault(const std::string& t, Fault& f) {
  if (t == "none") f = Fault::None;
  else if (t == "nopeer") f = Fault::NoPeer;
  else if (t == "neterror") f = Fault::NetworkError;
  else if (t == "stall") f = Fault::Stall;
  else if (t == "hang") f = Fault::Hang;
  else if (t == "halfway") f = Fault::FailHalfway;
  else return false;
  return true;
}

bool ApplySetting(Options& o, const std::string& key, const std::string& value) {
  auto number = [&](uint32_t& out) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || *end) return false;
    out = uint32_t(v);
    return true;
  };
  if (key == "library") o.library = value;
  else if (key == "store") o.store = value;
  else if (key == "log") o.log = value;
  else if (key == "release-event") o.releaseEvent = value;
  else if (key == "rate") return number(o.rate) && o.rate > 0;
  else if (key == "tick") return number(o.tickMs) && o.tickMs > 0;
  else if (key == "stall-at") return number(o.stallAt);
  else if (key == "hold-at") return number(o.holdAt);
  else if (key == "fault") {
    const size_t at = value.find('@');
    Fault f;
    if (!ParseFault(value.substr(0, at), f)) return false;
    if (at == std::string::npos) {
      o.fault = f;
      return true;
    }
    const std::string pair = value.substr(at + 1);
    const size_t comma = pair.find(',');
    if (comma == std::string::npos) return false;
    Pair p;
    p.first = uint32_t(std::strtoul(pair.substr(0, comma).c_str(), nullptr, 10));
    p.second = uint32_t(std::strtoul(pair.substr(comma + 1).c_str(), nullptr, 10));
    o.faults[p] = f;
  } else {
    return false;
  }
  return true;
}

bool ParseArguments(const std::vector<std::string>& args, Options& o, std::string& error) {
  for (size_t i = 0; i < args.size(); i += 2) {
    if (args[i].compare(0, 2, "--") != 0 || i + 1 >= args.size() || !ApplySetting(o, args[i].substr(2), args[i + 1])) {
      error = "bad option: " + args[i];
      return false;
    }
  }
  return true;
}

}  // namespace p2pserver

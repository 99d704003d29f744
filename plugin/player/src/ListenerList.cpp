#include "player/ListenerList.h"

#include <algorithm>

bool CListenerList::Contains(CPlayerListener* listener) const {
  return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

bool CListenerList::Add(CPlayerListener* listener) {
  zl::Lock lock(mutex_);
  if (!listener || Contains(listener)) return false;
  listeners_.push_back(listener);
  return true;
}

bool CListenerList::Remove(CPlayerListener* listener) {
  zl::Lock lock(mutex_);
  auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it == listeners_.end()) return false;
  listeners_.erase(it);
  return true;
}

void CListenerList::Clear() {
  zl::Lock lock(mutex_);
  listeners_.clear();
}

size_t CListenerList::Size() const {
  zl::Lock lock(mutex_);
  return listeners_.size();
}

void CListenerList::Broadcast(const std::function<void(CPlayerListener&)>& call) {
  std::vector<CPlayerListener*> snapshot;
  {
    zl::Lock lock(mutex_);
    snapshot = listeners_;
  }
  for (CPlayerListener* listener : snapshot) {
    {
      zl::Lock lock(mutex_);
      if (!Contains(listener)) continue;  // removed since the copy was taken
    }
    call(*listener);
  }
}

#pragma once
// The event source's list of listeners. Adding and removing take the list's
// lock; a broadcast walks a copy taken under the lock and calls each
// listener without holding it, so listeners may add or remove listeners
// (themselves included) from inside a call, and a call that waits for
// another thread never blocks that thread's own add or remove.
//
// A listener added during a broadcast is first called by the next one. A
// listener removed during a broadcast is not called after its removal; a
// call already under way on another thread may still be finishing, so the
// owner stops the broadcasting threads before it deletes listeners.
#include <cstddef>
#include <functional>
#include "shared/CriticalSection.h"
#include <vector>

class CPlayerListener;

class CListenerList {
 public:
  bool Add(CPlayerListener* listener);     // false: null or listed already
  bool Remove(CPlayerListener* listener);  // false: not listed
  void Clear();
  size_t Size() const;

  void Broadcast(const std::function<void(CPlayerListener&)>& call);

 private:
  bool Contains(CPlayerListener* listener) const;  // caller holds mutex_

  mutable zl::CriticalSection mutex_;
  std::vector<CPlayerListener*> listeners_;
};

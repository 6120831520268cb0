#include "framework/LThread.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "quickdraw/QuickDraw.h"
#include "windows/Events.h"

#if defined(__SANITIZE_ADDRESS__)
#define WX_ASAN_FIBERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WX_ASAN_FIBERS 1
#endif
#endif
#ifdef WX_ASAN_FIBERS
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// Thrown out of Yield() in a cancelled thread; caught only by the thread's entry.
struct ThreadCancelled {};

ucontext_t gMainContext;
#ifdef WX_ASAN_FIBERS
const void* gMainStackBottom = nullptr;  // learnt at the first switch, for the sanitizer
size_t gMainStackSize = 0;
#endif

bool UserInputWaiting() {
  EventRecord event;
  return EventAvail(mDownMask | mUpMask | keyDownMask | keyUpMask | autoKeyMask, &event);
}

std::vector<LThread*>& AllThreads() {
  static std::vector<LThread*> threads;
  return threads;
}

LThread* gStarting = nullptr;

}  // namespace

struct LThread::Context {
  ucontext_t context;
  void* stack = nullptr;  // guard page first, then the stack
  size_t mapped = 0;
  size_t stackSize = 0;
  void* fakeStack = nullptr;
};

LThread* LThread::sCurrent = nullptr;

LThread::LThread(size_t stackSize) : mContext(std::make_unique<Context>()) {
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t size = (std::max<size_t>(stackSize, 64 * 1024) + page - 1) / page * page;
  void* mem = mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mem == MAP_FAILED) throw std::bad_alloc();
  mprotect(mem, page, PROT_NONE);
  mContext->stack = mem;
  mContext->mapped = size + page;
  mContext->stackSize = size;
  AllThreads().push_back(this);
}

LThread::~LThread() {
  std::erase(AllThreads(), this);
  munmap(mContext->stack, mContext->mapped);
}

size_t LThread::CountThreads() { return AllThreads().size(); }

void LThread::CancelAllThreads() {
  while (!AllThreads().empty()) AllThreads().front()->Cancel();
}

void LThread::Resume() {
  if (mState == State::Created || mState == State::Suspended) mState = State::Ready;
}

void LThread::Suspend() {
  if (mState == State::Finished) return;
  mState = State::Suspended;
  if (IsCurrent()) Yield();
}

void LThread::Cancel() {
  if (mState == State::Finished) return;
  mCancelled = true;
  if (IsCurrent()) throw ThreadCancelled{};
  if (!mStarted) {
    Destroy();
    return;
  }
  // It waits inside Yield(): let it unwind now when we are the main thread; from another
  // thread, the main loop's next turn does it.
  mState = State::Ready;
  if (InMainThread()) SwitchIn();
}

void LThread::Yield() {
  if (LThread* self = sCurrent) {
    // What the thread drew into a window reaches the screen now, not at the next update.
    GrafPtr port = nullptr;
    GetPort(&port);
    QDFlushPortBuffer(port, nullptr);
    self->SwitchOut(false);
    if (self->mCancelled) throw ThreadCancelled{};
    return;
  }
  // Waiting input is served between two turns: the pass ends after the turn that finds
  // some, and the threads that had theirs go to the back, so every thread gets its turn.
  const std::vector<LThread*> turn = AllThreads();
  for (size_t i = 0; i < turn.size(); ++i) {
    auto& all = AllThreads();
    if (std::find(all.begin(), all.end(), turn[i]) == all.end()) continue;  // ended meanwhile
    if (turn[i]->mState != State::Ready) continue;
    turn[i]->SwitchIn();
    if (UserInputWaiting()) {
      for (size_t j = 0; j <= i; ++j) {
        auto it = std::find(all.begin(), all.end(), turn[j]);
        if (it == all.end()) continue;
        all.erase(it);
        all.push_back(turn[j]);
      }
      return;
    }
  }
}

void LThread::SwitchIn() {
  Context& c = *mContext;
  if (!mStarted) {
    mStarted = true;
    getcontext(&c.context);
    c.context.uc_stack.ss_sp = static_cast<char*>(c.stack) + (c.mapped - c.stackSize);
    c.context.uc_stack.ss_size = c.stackSize;
    c.context.uc_link = nullptr;
    gStarting = this;
    makecontext(&c.context, &LThread::Entry, 0);
  }
  sCurrent = this;
#ifdef WX_ASAN_FIBERS
  void* mainFake = nullptr;
  __sanitizer_start_switch_fiber(&mainFake, c.context.uc_stack.ss_sp, c.stackSize);
#endif
  swapcontext(&gMainContext, &c.context);
#ifdef WX_ASAN_FIBERS
  __sanitizer_finish_switch_fiber(mainFake, nullptr, nullptr);
#endif
  sCurrent = nullptr;
  if (mState == State::Finished) Destroy();
}

void LThread::SwitchOut(bool finishing) {
  Context& c = *mContext;
#ifdef WX_ASAN_FIBERS
  // A finishing thread never comes back: a null save slot lets the sanitizer drop its fake stack.
  __sanitizer_start_switch_fiber(finishing ? nullptr : &c.fakeStack, gMainStackBottom, gMainStackSize);
#endif
  if (finishing) setcontext(&gMainContext);
  swapcontext(&c.context, &gMainContext);
#ifdef WX_ASAN_FIBERS
  __sanitizer_finish_switch_fiber(c.fakeStack, &gMainStackBottom, &gMainStackSize);
#endif
}

void LThread::Entry() {
  LThread* self = gStarting;
  gStarting = nullptr;
#ifdef WX_ASAN_FIBERS
  __sanitizer_finish_switch_fiber(nullptr, &gMainStackBottom, &gMainStackSize);
#endif
  if (!self->mCancelled) {
    try {
      self->Run();
    } catch (const ThreadCancelled&) {
    } catch (const std::exception& e) {
      std::fprintf(stderr, "thread ended by an exception: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "thread ended by an exception\n");
    }
  }
  self->mState = State::Finished;
  self->SwitchOut(true);
}

void LThread::Destroy() {
  mState = State::Finished;
  delete this;
}

#include "preview/CPictureLoader.h"

#include "framework/LSimpleThread.h"

CPictureLoader::CPictureLoader(std::function<void()> load)
    : mLoad(std::move(load)), mThread(new LSimpleThread(ReadThread_EntryPoint, this)) {}

CPictureLoader::~CPictureLoader() {
  // One that never ran is deleted; one waiting after its load unwinds and ends.
  if (mThread) mThread->Cancel();
}

void CPictureLoader::Resume() {
  if (mThread) mThread->Resume();
}

void CPictureLoader::ReadThread_EntryPoint(LThread&, void* arg) {
  auto* loader = static_cast<CPictureLoader*>(arg);
  loader->mLoad();
  // An owner destroyed meanwhile cancels this wait, so the loader is still there after it.
  LThread::Yield();
  loader->mThread = nullptr;
}

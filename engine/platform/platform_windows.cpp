// Windows implementation of the platform services.

#include "platform/platform.h"

#include <windows.h>   // Required for: QueryPerformanceCounter(), Sleep(), waitable timers
#include <timeapi.h>   // Required for: timeBeginPeriod(), timeEndPeriod()

#include <ctime>  // Required for: localtime_s()
#include <vector>

namespace cv {
namespace platform {

namespace {

// Ticks per second of the performance counter; fixed while the system runs.
std::int64_t counterFrequency() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return value.QuadPart > 0 ? static_cast<std::int64_t>(value.QuadPart) : 1;
  }();
  return frequency;
}

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A one-shot timer for this thread: a high-resolution one where the system
// has them (Windows 10 1803 on), else an ordinary one, which ends on the
// system timer's tick. Null when neither can be made.
HANDLE threadTimer() {
  thread_local struct Timer {
    HANDLE handle = nullptr;
    Timer() {
      handle = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
      if (!handle)
        handle = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    }
    ~Timer() {
      if (handle)
        CloseHandle(handle);
    }
  } timer;
  return timer.handle;
}

// Waits on the timer for `microseconds`; false when the timer cannot be used.
bool waitOnTimer(std::int64_t microseconds) {
  HANDLE timer = threadTimer();
  if (!timer)
    return false;
  LARGE_INTEGER due{};
  due.QuadPart = -microseconds * 10;  // negative: relative, in 100 ns units
  if (!SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
    return false;
  return WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0;
}

// `length` wide characters of `wide` as UTF-8; "" when they do not convert.
std::string utf8Text(const wchar_t *wide, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0)
    return "";
  std::string text(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_UTF8, 0, wide, length, &text[0], size, nullptr, nullptr) != size)
    return "";
  return text;
}

}  // namespace

std::int64_t monotonicMicroseconds() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  const std::int64_t ticks = counter.QuadPart;
  const std::int64_t frequency = counterFrequency();
  // Whole seconds and the rest apart, so the product cannot overflow.
  return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

bool localTime(std::time_t when, std::tm &local) { return localtime_s(&local, &when) == 0; }

void sleepMilliseconds(long milliseconds) {
  if (milliseconds > 0)
    Sleep(static_cast<DWORD>(milliseconds));
}

void sleepMicroseconds(long microseconds) {
  if (microseconds <= 0)
    return;
  const std::int64_t end = monotonicMicroseconds() + microseconds;
  // A timer may wake a little early: wait again for what is left.
  for (std::int64_t left = microseconds; left > 0; left = end - monotonicMicroseconds()) {
    if (!waitOnTimer(left))
      Sleep(static_cast<DWORD>((left + 999) / 1000));
  }
}

// Windows has no timer slack to lower; the timer resolution is what counts.
bool requestPreciseWakeups() { return true; }

bool requestTimerResolution(int milliseconds) {
  return timeBeginPeriod(static_cast<UINT>(milliseconds)) == TIMERR_NOERROR;
}

bool releaseTimerResolution(int milliseconds) {
  return timeEndPeriod(static_cast<UINT>(milliseconds)) == TIMERR_NOERROR;
}

std::string executablePath() {
  // The name can be longer than MAX_PATH: grow until it fits.
  for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
    std::vector<wchar_t> name(size);
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
    if (length == 0)
      return "";
    if (length < size)
      return utf8Text(name.data(), static_cast<int>(length));
  }
  return "";
}

}  // namespace platform
}  // namespace cv

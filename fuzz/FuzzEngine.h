#pragma once
// What every fuzz target shares: the engine started once, headless, with its
// log thrown away, and the input bytes written to a file for the loaders
// that read files.

#include <cstddef>
#include <cstdint>
#include <string>

namespace cvfuzz {

/// Starts the engine headless from `config_text` (once per process), its log
/// going to /dev/null unless "CORVANE_FUZZ_LOG" names a file. Aborts when the
/// engine does not start: a target without its engine finds nothing.
void startEngine(const std::string &config_text = "headless:true,");

/// A file of this process's own in the temporary directory, its name ending
/// in `suffix`, holding exactly `size` bytes of `data`. The same name is
/// reused by every call with the same suffix.
std::string writeInput(const std::uint8_t *data, std::size_t size, const std::string &suffix = ".txt");

/// Stops the fuzzer with a message on standard error: the oracle disagrees.
[[noreturn]] void fail(const char *what, const std::string &detail);

}  // namespace cvfuzz

#pragma once
// The keys of a web page's keyboard events (KeyboardEvent.code, which names
// the key's place, not its letter) in the window library's numbering, so
// that a key in the browser is the key it is in the window.

namespace cv {

/// The window library's key code for the page's key `code` ("KeyA",
/// "ArrowLeft", "F10"); -1 (the library's unidentified key) for any other.
int sfmlCodeOfWebKey(const char *code);

}  // namespace cv

#pragma once

#include "presentation/Screen.h"

namespace cv {

/// The screen of a game run without any medium (the configuration's
/// `headless`): it starts, draws nothing and shows nothing, and its input
/// reads nothing. Every drawing operation answers -1 without a message.
/// The smallest complete back end: a new one can start from a copy of it.
class HeadlessScreen : public Screen {
 public:
  /// Logs that no graphics are done; always 0.
  int startUp(const ScreenGrid &grid) override;
  void shutDown() override;
  /// Always false: nothing can be seen.
  bool isShowing() const override;
  /// Draws nothing; -1.
  int drawCharacter(Vector view_pos, char32_t ch, unsigned char r, unsigned char g, unsigned char b) override;
  /// Draws nothing; -1.
  int fillPolygon(const Polygon &polygon) override;
  /// Shows nothing; -1.
  int present() override;
  void refresh() override;
  /// A HeadlessInput.
  std::unique_ptr<InputSource> openInput() override;
};

}  // namespace cv

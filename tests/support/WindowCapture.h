#pragma once
// Reads back what has been drawn into a render window, so window tests can
// check pixels, and keeps screenshots for a person to look at.

#include <SFML/Graphics.hpp>
#include <cstdlib>
#include <string>

namespace cvtest {

/// The window's back buffer as an image: everything drawn since the last
/// swapBuffers. Call it before swapBuffers, which clears the back buffer.
inline sf::Image captureWindow(sf::RenderWindow &window) {
  const sf::Vector2u size = window.getSize();
  sf::Texture texture;
  texture.create(size.x, size.y);
  texture.update(window);
  return texture.copyToImage();
}

/// Writes `image` to NAME.png in the directory named by the environment
/// variable CORVANE_TEST_SCREENSHOTS; does nothing when it is not set.
inline void keepScreenshot(const sf::Image &image, const std::string &name) {
  const char *directory = std::getenv("CORVANE_TEST_SCREENSHOTS");
  if (directory && *directory) image.saveToFile(std::string(directory) + "/" + name + ".png");
}

/// Number of pixels in which two images of the same size differ.
inline int differingPixels(const sf::Image &a, const sf::Image &b) {
  if (a.getSize() != b.getSize()) return -1;
  int count = 0;
  for (unsigned int y = 0; y < a.getSize().y; y++)
    for (unsigned int x = 0; x < a.getSize().x; x++)
      if (a.getPixel(x, y) != b.getPixel(x, y)) count++;
  return count;
}

}  // namespace cvtest

#pragma once
// What every projectile does at a wall.

namespace cv {
class Object;
}

/// Reverses the horizontal direction of `projectile` and sets its speed to 1.
void bounceOffWall(cv::Object *projectile);

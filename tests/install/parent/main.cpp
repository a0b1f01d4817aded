#include "Corvane.h"

int main() { return cv::GameManager::getInstance().isStarted() ? 1 : 0; }

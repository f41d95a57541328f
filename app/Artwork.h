#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

// The program's own artwork, painted at start-up: the toolbar's button images (in button order,
// without the separators) and the program icon, a small lap chart.
std::vector<QImage> ToolBarImages();
QImage ProgramIconImage(int size);
QIcon ProgramIcon();

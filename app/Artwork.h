#pragma once

#include <QIcon>
#include <QImage>

// The program's own artwork, painted at start-up: the toolbar's button images and the program
// icon, a small lap chart.
QImage NewButtonImage();
QImage OpenButtonImage();
QImage SaveButtonImage();
QImage AddButtonImage();
QImage CutButtonImage();
QImage ZoomInButtonImage();
QImage ZoomOutButtonImage();
QImage ZoomToFitButtonImage();
QImage GapChartButtonImage();
QImage PositionChartButtonImage();
QImage LapTimeChartButtonImage();
QImage ReloadButtonImage();
QImage FollowButtonImage();
QImage ProgramIconImage(int size);
QIcon ProgramIcon();

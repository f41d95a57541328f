#pragma once

// Pictures compared with expected PNG files. A failure leaves the expected, actual and difference
// images in a folder of the working directory, so that the difference can be looked at;
// TARMIO_UPDATE_PICTURES=1 rewrites the expected files instead.

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace picturetest {

// Compares the picture with `expectedDir/name.png`, colour channels only.
::testing::AssertionResult MatchesExpectedPicture(const QImage& actual, const QString& expectedDir,
                                                  const QString& name);

} // namespace picturetest

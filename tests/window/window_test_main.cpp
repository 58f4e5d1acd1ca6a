// Window tests run on Qt's off-screen platform with one application object.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "window/theolink_application.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  theolink::TheolinkApplication app(argc, argv);
  app.ShowError = [](const QString& text) { ADD_FAILURE() << "escaped error: " << text.toStdString(); };
  return RUN_ALL_TESTS();
}

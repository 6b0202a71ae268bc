// A test fixture whose platform is the scripted headless one, with a fresh error history.
#pragma once

#include <gtest/gtest.h>

#include "TestUtil.h"
#include "base/IOError.h"
#include "platform/Headless.h"

namespace kelvra::test {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPlatform(&headless);
    ResetIOErrors();
  }
  void TearDown() override {
    ResetIOErrors();
    SetPlatform(nullptr);
  }
  HeadlessPlatform headless;
  TempDir dir;
};

}  // namespace kelvra::test

// A fixture for tests that play the generated data tree: fresh shared state and error
// history, the program folder set to the build's data, and every level set freed after.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/IOError.h"
#include "base/Paths.h"
#include "common/Com.h"
#include "common/Events.h"
#include "common/Kinds.h"

namespace kelvra::test {

template <class Base = ::testing::Test>
class DataDirTest : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    ResetCom();
    ResetIOErrors();
    savedDir_ = ProgramDir();
    SetProgramDir(KELVRA_TEST_DATA_DIR);
  }
  void TearDown() override {
    for (int k = 0; k < kKinds; ++k) KindOps(k).FreeLevelSet();
    SetProgramDir(savedDir_);
    Base::TearDown();
  }

 private:
  std::string savedDir_;
};

}  // namespace kelvra::test

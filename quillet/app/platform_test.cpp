// The platform layer's stand-in for the system's drag-full-windows setting: what a get returns,
// what a set keeps, which calls are refused, and the record of calls that tests rely on.
#include "quillet/app/platform.h"

#include <gtest/gtest.h>

namespace {

using K = quillet::PlatformCall::Kind;

TEST(StandInPlatform, KeepsTheSettingLikeTheUserProfile) {
  quillet::StandInPlatform p;
  struct Step {
    unsigned param;  // value set
    int read_back;   // what a get returns afterwards
  };
  const Step steps[] = {{0, 0}, {1, 1}, {7, 1}, {0, 0}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.param);
    ASSERT_TRUE(p.SystemParametersInfo(quillet::SPI_SETDRAGFULLWINDOWS, s.param, nullptr, 3));
    int value = -1;
    ASSERT_TRUE(p.SystemParametersInfo(quillet::SPI_GETDRAGFULLWINDOWS, 0, &value, 0));
    EXPECT_EQ(value, s.read_back);
    EXPECT_EQ(p.dragFullWindows(), s.read_back);
  }
}

TEST(StandInPlatform, RefusesWhatItDoesNotKnowAndChangesNothing) {
  quillet::StandInPlatform p;
  p.setDragFullWindows(1);
  int value = 5;
  EXPECT_FALSE(p.SystemParametersInfo(0x1234, 0, &value, 0));
  EXPECT_FALSE(p.SystemParametersInfo(quillet::SPI_GETDRAGFULLWINDOWS, 0, nullptr, 0));
  EXPECT_EQ(value, 5);
  EXPECT_EQ(p.dragFullWindows(), 1);
  EXPECT_TRUE(p.calls().empty());
}

TEST(StandInPlatform, RecordsCallsInOrderUntilCleared) {
  quillet::StandInPlatform p;
  p.setDragFullWindows(1);
  int value = 0;
  ASSERT_TRUE(p.SystemParametersInfo(quillet::SPI_GETDRAGFULLWINDOWS, 0, &value, 0));
  ASSERT_TRUE(p.SystemParametersInfo(quillet::SPI_SETDRAGFULLWINDOWS, 0, nullptr,
                                     quillet::SPIF_UPDATEINIFILE | quillet::SPIF_SENDCHANGE));
  const std::vector<quillet::PlatformCall> expected = {
      {K::GetParameter, quillet::SPI_GETDRAGFULLWINDOWS, 1, 0, false},
      {K::SetParameter, quillet::SPI_SETDRAGFULLWINDOWS, 0, 3, false},
  };
  EXPECT_EQ(p.calls(), expected);
  p.clearCalls();
  EXPECT_TRUE(p.calls().empty());
}

TEST(Platform, TheStandInIsUsedUnlessAnotherPlatformIsSet) {
  EXPECT_EQ(&quillet::platform(), &quillet::standInPlatform());
  quillet::StandInPlatform other;
  quillet::setPlatform(&other);
  EXPECT_EQ(&quillet::platform(), &other);
  quillet::setPlatform(nullptr);
  EXPECT_EQ(&quillet::platform(), &quillet::standInPlatform());
}

}  // namespace

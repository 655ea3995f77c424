// The common ground of every scenario: no stored settings and an empty data folder, as a user who
// starts Quillmere for the first time has.
#pragma once

#include "driver.h"

#include <gtest/gtest.h>

class Scenario : public ::testing::Test {
protected:
    void SetUp() override { forgetUserState(); }
};

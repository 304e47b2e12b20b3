// Every end-to-end test starts from an empty profile and no running copy.
#pragma once

#include <gtest/gtest.h>

#include "vantrel_client.h"
#include "viewer_client.h"

class VantrelTest : public testing::Test {
protected:
    void SetUp() override { ResetProfile(); }
    void TearDown() override { ResetProfile(); }
};

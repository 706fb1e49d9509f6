// The archive's test fixture: a fresh directory with its DATA and an archive on it.
#pragma once

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(connection.open(root.path), 0); }
    TemporaryRoot root;
    phonomir::DataConnection connection;
    RecordedMessages messages;
    phonomir::AcfArchive archive{connection, messages};
};

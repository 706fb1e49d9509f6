#include "RecordingSink.h"

#include <cstdlib>
#include <filesystem>

void DataStoreTest::SetUp() {
    char pattern[] = "/tmp/datastore-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    ASSERT_EQ(connection.open(root), 0);
}

void DataStoreTest::TearDown() {
    connection.close();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

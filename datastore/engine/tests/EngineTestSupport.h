// Shared fixture of the engine tests: a fresh data directory per test and a connection on it.
#pragma once

#include "dbkengine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

DbkFieldDef fieldDef(const char *name, char type, int width, int decimals = 0);
std::string recordBuffer(const std::vector<std::string> &fieldTexts);  // concatenated texts

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string &file) const { return directory + "/" + file; }
    // A table of FOLDERID I 8, TYPE C 1, NAME C 10, SCALE N 8.2 and memo DATA, index 1 unique
    // on FOLDERID.
    DBKHANDLE createFolderTable(const std::string &file);
    void appendFolder(DBKHANDLE table, int id, char type, const std::string &name);

    std::string directory;
    DBKHANDLE connection = 0;
};

// Test double of the message sink: records every message and answers questions as told.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"

#include "dbkengine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RecordingSink : phonomir::MessageSink {
    struct Shown {
        int id;
        std::string text;
    };
    std::vector<Shown> errors;
    std::vector<int> questions;
    bool answer = true;  // OK

    void showMessage(const std::string &text, phonomir::MessageIcon) override { errors.push_back({0, text}); }
    void showError(int id, const std::string &text) override { errors.push_back({id, text}); }
    bool askOkCancel(int id, const std::string &) override {
        questions.push_back(id);
        return answer;
    }
};

// A field definition for CreateTable.
DbkFieldDef fieldDef(const char *name, char type, int width, int decimals = 0);
// An older FOLDER layout (record length 178: no PLACE, a shorter NAME, an unknown OWNER field)
// holding folder 12, "hall", made as file in the data directory.
void writeOldFolderTable(phonomir::DataConnection &connection, const std::string &file = "FOLDER.DBF");

// A fresh current directory per test with the connection open on its DATA directory.
class DataStoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string dataFile(const std::string &name) const { return root + "/DATA/" + name; }

    std::string root;
    phonomir::DataConnection connection;
    RecordingSink sink;
};

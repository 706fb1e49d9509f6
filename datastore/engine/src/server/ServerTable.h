// A table on an update server: its field layout, the indexes opened on this handle, and the
// records a key condition selected, read one by one. Owned by the server registry.
#pragma once

#include "../FieldLayout.h"
#include "ServerConnection.h"

#include <memory>
#include <string>
#include <vector>

namespace dbk::server {

class ServerTable {
public:
    ServerTable(ServerConnection &connection, std::uint32_t connectionHandle, int id, FieldLayout layout);

    // storedPath as ServerPath gives it. Status 3003 when the table does not exist.
    static int open(ServerConnection &connection, std::uint32_t connectionHandle, const std::string &storedPath,
                    std::unique_ptr<ServerTable> &table);
    // Status 3004 when a table of that path exists already.
    static int create(ServerConnection &connection, std::uint32_t connectionHandle, const std::string &storedPath,
                      const FieldLayout &layout, std::unique_ptr<ServerTable> &table);

    std::uint32_t connectionHandle() const { return connectionHandle_; }
    const FieldLayout &layout() const { return layout_; }
    int openIndex(const std::string &name, int &number);
    int createIndex(const std::string &name, const std::string &keyField, bool unique, int &number);
    int append(const char *buffer);
    // Chooses the index (number from openIndex / createIndex) whose key deleteByKey matches.
    int selectIndex(int number);
    // Deletes every record whose key equals key.
    int deleteByKey(const std::string &key);
    // Selects the records matching condition ("#n=value" or "NAME=value" alternatives joined
    // by "|"; null or "" selects every record) in key order; count receives how many.
    int setKeyCondition(const char *condition, std::int64_t &count);
    int readNextMatch(char *buffer);

    int status = 0;  // status of the last C call, cleared when fetched

private:
    int dataIndexOf(int fieldPosition) const;  // 1-based place in the stored text array
    std::vector<std::string> storedTexts(const char *buffer) const;
    int checkUniqueKeys(const std::vector<std::string> &texts);

    ServerConnection &connection_;
    std::uint32_t connectionHandle_;
    int id_;
    FieldLayout layout_;
    std::vector<int> indexFields_;  // field position of index number n at n - 1
    int selectedIndex_ = 0;
    std::vector<std::vector<std::string>> selected_;
    std::size_t nextSelected_ = 0;
};

// The stored text of one field of a record buffer: text without trailing blanks, numbers in
// their canonical form, so that equal keys compare equal whatever their padding.
std::string canonicalFieldText(const Field &field, const std::string &raw);

}  // namespace dbk::server

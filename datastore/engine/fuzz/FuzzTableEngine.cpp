// Fuzzes what reaches the table engine from outside, through its C interface. The first byte
// chooses what the rest is:
//   0  a table file, opened from disk and read through (fields, indexes, records, memos);
//   1  field definitions and a record buffer: the table is created, the record appended, and
//      it must read back byte for byte;
//   2  a condition string on a fixed table with blank and repeated keys: in every read order
//      the records read must be as many as CountFiltered says;
//   3  memo stream operations (named, continued and in-place writes, reads in pieces) checked
//      against a plain byte string.
// Every call must end in a status; an invariant that fails aborts.
#include "dbkengine.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class Input {
public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return position_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[position_++]; }
    std::string bytes(std::size_t count) {
        count = std::min(count, size_ - std::min(position_, size_));
        std::string taken(reinterpret_cast<const char *>(data_ + position_), count);
        position_ += count;
        return taken;
    }
    std::string rest() { return bytes(size_); }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// A folder of the run's own, in memory where possible, removed when the run ends.
struct ScratchDirectory {
    std::string path;
    ScratchDirectory() {
        char shm[] = "/dev/shm/fuzz-table-engine-XXXXXX";
        char tmp[] = "/tmp/fuzz-table-engine-XXXXXX";
        path = mkdtemp(shm) ? shm : mkdtemp(tmp) ? tmp : "";
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

std::string scratchPath(const char *name) {
    static const ScratchDirectory directory;
    return directory.path + "/" + name;
}

DBKHANDLE connection() {
    static const DBKHANDLE handle = OpenConnection(0, 0, "FUZZ", nullptr);
    return handle;
}

void check(bool condition) {
    if (!condition) std::abort();
}

void readThrough(DBKHANDLE table) {
    const int length = RecordLength(table);
    const int fields = FieldCount(table);
    check(length > 0 && fields > 0);
    DbkFieldDef field{};
    std::vector<std::string> memos;
    for (int number = 1; number <= fields; ++number) {
        check(FieldInfo(table, number, &field) == 0);
        if (field.type == 'B') memos.emplace_back(field.name, strnlen(field.name, sizeof field.name));
    }
    OpenIndex(table, "I1.EDX");
    std::vector<char> buffer(static_cast<std::size_t>(length));
    for (int index = 0; index <= 1; ++index) {
        SelectIndex(table, index);
        for (int records = 0; records < 64 && ReadNext(table, 1, buffer.data()) == 1; ++records) {
            char piece[512];
            for (const std::string &memo : memos) {
                for (int got = MemoRead(table, memo.c_str(), piece, sizeof piece), reads = 0; got > 0 && reads < 64; ++reads) {
                    got = MemoRead(table, nullptr, piece, sizeof piece);
                }
            }
        }
    }
    CountFiltered(table);
    if (GoLast(table) == 0) ReadCurrent(table, buffer.data());
    std::string blank(static_cast<std::size_t>(length), ' ');
    AppendRecord(table, blank.c_str());
    TableError(table);
}

void openTableFile(Input &input) {
    const std::string path = scratchPath("FILE.DBF");
    const std::string bytes = input.rest();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    const DBKHANDLE table = OpenTable(connection(), path.c_str());
    check((table != 0) == (ConnectionError(connection()) == 0));
    if (table) readThrough(table);
    CloseTable(table);
    RemoveTableFile(connection(), path.c_str());
}

void createAndAppend(Input &input) {
    const int count = 1 + input.byte() % 6;
    std::vector<DbkFieldDef> fields(static_cast<std::size_t>(count));
    for (DbkFieldDef &field : fields) {
        const std::string raw = input.bytes(sizeof field);
        std::memcpy(&field, raw.data(), raw.size());
    }
    const std::string path = scratchPath("NEW.DBF");
    const DBKHANDLE table = CreateTable(connection(), path.c_str(), fields.data(), count);
    check((table != 0) == (ConnectionError(connection()) == 0));
    if (!table) return;
    const int length = RecordLength(table);
    std::string record = input.bytes(static_cast<std::size_t>(length - 1));
    record.resize(static_cast<std::size_t>(length - 1), ' ');
    if (AppendRecord(table, record.c_str()) == 0) {
        std::string back(static_cast<std::size_t>(length), '\0');
        check(ReadCurrent(table, back.data()) == 0);
        check(back.compare(0, record.size(), record) == 0 && back[record.size()] == '\0');
    }
    CloseTable(table);
    RemoveTableFile(connection(), path.c_str());
}

// FOLDERID I 8 (index 1, blank keys included), TYPE C 1 (index 2), SCALE N 8.2.
DBKHANDLE conditionTable() {
    static DBKHANDLE table = [] {
        DbkFieldDef fields[3] = {};
        std::strcpy(fields[0].name, "FOLDERID");
        fields[0].type = 'I';
        fields[0].width = 8;
        std::strcpy(fields[1].name, "TYPE");
        fields[1].type = 'C';
        fields[1].width = 1;
        std::strcpy(fields[2].name, "SCALE");
        fields[2].type = 'N';
        fields[2].width = 8;
        fields[2].decimals = 2;
        std::remove(scratchPath("COND.DBF").c_str());
        const DBKHANDLE made = CreateTable(connection(), scratchPath("COND.DBF").c_str(), fields, 3);
        CreateIndex(made, "C1.EDX", "FOLDERID", 0);
        CreateIndex(made, "C2.EDX", "TYPE", 0);
        for (const char *record : {"       3A    1.50", "        B    0.00", "       3I   -2.25", "      -1         ",
                                   "        A        ", "      12N    1.50", "     -00A  1.5000"}) {
            AppendRecord(made, record);
        }
        return made;
    }();
    return table;
}

void filterRecords(Input &input) {
    const DBKHANDLE table = conditionTable();
    const bool keyCondition = input.byte() & 1;
    const std::string condition = input.rest();
    const int status = keyCondition ? (SetKeyCondition(table, condition.c_str()), TableError(table))
                                    : SetFilter(table, condition.c_str());
    if (status == 0) {
        const int count = CountFiltered(table);
        check(count >= 0);
        char buffer[18];
        for (int index = 0; index <= 2; ++index) {
            check(SelectIndex(table, index) == 0);
            int read = 0;
            while (read <= count && ReadNext(table, 1, buffer) == 1) ++read;
            check(read == count);
        }
    }
    SetFilter(table, nullptr);
    SetKeyCondition(table, nullptr);
    TableError(table);
}

DBKHANDLE memoTable() {
    static DBKHANDLE table = [] {
        DbkFieldDef fields[2] = {};
        std::strcpy(fields[0].name, "ID");
        fields[0].type = 'I';
        fields[0].width = 8;
        std::strcpy(fields[1].name, "DATA");
        fields[1].type = 'B';
        std::remove(scratchPath("MEMO.DBF").c_str());
        const DBKHANDLE made = CreateTable(connection(), scratchPath("MEMO.DBF").c_str(), fields, 2);
        AppendRecord(made, "       1");
        return made;
    }();
    return table;
}

// Runs memo operations against a model of the memo's bytes.
void streamMemo(Input &input) {
    const DBKHANDLE table = memoTable();
    MemoWrite(table, "DATA", "", 0);
    std::string model;
    std::size_t writeAt = 0, readAt = 0;
    bool reading = false;
    std::string pattern(70000, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 13 + input.byte());
    for (int operations = 0; operations < 32 && !input.empty(); ++operations) {
        const std::uint8_t operation = input.byte();
        const std::size_t length = (input.byte() | input.byte() << 8) % pattern.size();
        const std::string bytes = pattern.substr(0, length);
        switch (operation % 5) {
        case 0:  // new content
            check(MemoWrite(table, "DATA", bytes.data(), static_cast<int32_t>(length)) == static_cast<int32_t>(length));
            model = bytes;
            writeAt = length;
            break;
        case 1:  // rewrite in place from the start
            writeAt = 0;
            [[fallthrough]];
        case 2:  // continue writing
            check(MemoWrite(table, operation % 5 == 1 ? "*DATA" : nullptr, bytes.data(), static_cast<int32_t>(length)) ==
                  static_cast<int32_t>(length));
            if (model.size() < writeAt + length) model.resize(writeAt + length);
            model.replace(writeAt, length, bytes);
            writeAt += length;
            break;
        default: {  // read from the start or on
            std::string piece(length, '\0');
            const bool named = operation % 5 == 3 || !reading;
            const int32_t got = MemoRead(table, named ? "DATA" : nullptr, piece.data(), static_cast<int32_t>(length));
            check(TableError(table) == 0);
            if (named) readAt = 0;
            const std::size_t expected = std::min(length, model.size() - std::min(readAt, model.size()));
            check(got == static_cast<int32_t>(expected) && piece.compare(0, expected, model, readAt, expected) == 0);
            readAt += expected;
            reading = true;
        }
        }
    }
    check(TableError(table) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Input input(data, size);
    switch (input.byte() % 4) {
    case 0: openTableFile(input); break;
    case 1: createAndAppend(input); break;
    case 2: filterRecords(input); break;
    default: streamMemo(input); break;
    }
    return 0;
}

#include "ServerTable.h"

#include "../FieldText.h"

#include <cstdio>
#include <cstring>

namespace dbk::server {

namespace {

struct KeyTest {
    int fieldPosition;
    std::string value;
};

// Parses "#n=value|NAME=value|..." into key tests; a status other than 0 when malformed.
int parseKeyCondition(const std::string &text, const FieldLayout &layout, const std::vector<int> &indexFields,
                      std::vector<KeyTest> &tests) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('|', start), text.size());
        const std::string alternative = text.substr(start, end - start);
        const std::size_t equals = alternative.find('=');
        if (equals == std::string::npos || equals == 0) return DBK_BAD_CONDITION;
        const std::string name = alternative.substr(0, equals);
        int position = -1;
        if (name[0] == '#') {
            const auto number = parseInteger(name.substr(1));
            if (!number) return DBK_BAD_CONDITION;
            if (*number < 1 || *number > static_cast<std::int64_t>(indexFields.size())) return DBK_BAD_ARGUMENT;
            position = indexFields[*number - 1];
        } else {
            position = layout.find(name);
        }
        if (position < 0 || layout.fields()[position].type == 'B') return DBK_BAD_FIELD;
        tests.push_back({position, canonicalFieldText(layout.fields()[position], alternative.substr(equals + 1))});
        start = end + 1;
    }
    return DBK_OK;
}

}  // namespace

std::string canonicalFieldText(const Field &field, const std::string &raw) {
    const SqlValue value = FieldLayout::matchValue(field, raw);
    if (const auto *number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
    if (const auto *real = std::get_if<double>(&value)) {
        char text[400];
        std::snprintf(text, sizeof text, "%.*f", field.decimals, *real);
        return text;
    }
    if (const auto *text = std::get_if<std::string>(&value)) return *text;
    return trimmed(raw);
}

ServerTable::ServerTable(ServerConnection &connection, std::uint32_t connectionHandle, int id, FieldLayout layout)
    : connection_(connection), connectionHandle_(connectionHandle), id_(id), layout_(std::move(layout)) {}

int ServerTable::open(ServerConnection &connection, std::uint32_t connectionHandle, const std::string &storedPath,
                      std::unique_ptr<ServerTable> &table) {
    Result found = connection.run(
        "SELECT t.id, f.name, f.type, f.width, f.decimals FROM dbk.tables t JOIN dbk.fields f ON f.table_id = t.id "
        "WHERE t.path = $1 ORDER BY f.position",
        {Parameter::text(storedPath)});
    if (!found) {
        // A server without the engine's tables holds no table at all.
        return connection.lastStatus() == DBK_SERVER_REFUSED ? static_cast<int>(DBK_NOT_FOUND) : connection.lastStatus();
    }
    if (PQntuples(found.get()) == 0) return DBK_NOT_FOUND;
    std::vector<Field> fields;
    for (int row = 0; row < PQntuples(found.get()); ++row) {
        const std::string type = PQgetvalue(found.get(), row, 2);
        fields.push_back({PQgetvalue(found.get(), row, 1), type.empty() ? '\0' : type[0],
                          std::atoi(PQgetvalue(found.get(), row, 3)), std::atoi(PQgetvalue(found.get(), row, 4))});
        if (!isValidField(fields.back())) return DBK_DAMAGED;
    }
    table = std::make_unique<ServerTable>(connection, connectionHandle, std::atoi(PQgetvalue(found.get(), 0, 0)),
                                          FieldLayout(std::move(fields)));
    return DBK_OK;
}

int ServerTable::create(ServerConnection &connection, std::uint32_t connectionHandle, const std::string &storedPath,
                        const FieldLayout &layout, std::unique_ptr<ServerTable> &table) {
    if (!connection.ensureSchema() || !connection.runCommand("BEGIN")) return connection.lastStatus();
    const auto rollback = [&](int status) {
        connection.runCommand("ROLLBACK");
        return status;
    };
    Result made = connection.run("INSERT INTO dbk.tables (path) VALUES ($1) ON CONFLICT DO NOTHING RETURNING id",
                                 {Parameter::text(storedPath)});
    if (!made) return rollback(connection.lastStatus());
    if (PQntuples(made.get()) == 0) return rollback(DBK_EXISTS);
    const int id = std::atoi(PQgetvalue(made.get(), 0, 0));
    for (std::size_t i = 0; i < layout.fields().size(); ++i) {
        const Field &field = layout.fields()[i];
        if (!connection.runCommand(
                "INSERT INTO dbk.fields (table_id, position, name, type, width, decimals) VALUES ($1, $2, $3, $4, $5, $6)",
                {Parameter::number(id), Parameter::number(static_cast<long long>(i)), Parameter::text(field.name),
                 Parameter::text(std::string(1, field.type)), Parameter::number(field.width),
                 Parameter::number(field.decimals)})) {
            return rollback(connection.lastStatus());
        }
    }
    if (!connection.runCommand("COMMIT")) return connection.lastStatus();
    table = std::make_unique<ServerTable>(connection, connectionHandle, id, layout);
    return DBK_OK;
}

int ServerTable::dataIndexOf(int fieldPosition) const {
    int index = 0;
    for (int position : layout_.dataColumns()) {
        ++index;
        if (position == fieldPosition) return index;
    }
    return 0;
}

int ServerTable::openIndex(const std::string &name, int &number) {
    Result found = connection_.run("SELECT key_position FROM dbk.indexes WHERE table_id = $1 AND name = $2",
                                   {Parameter::number(id_), Parameter::text(name)});
    if (!found) return connection_.lastStatus();
    if (PQntuples(found.get()) == 0) return DBK_NOT_FOUND;
    const int position = std::atoi(PQgetvalue(found.get(), 0, 0));
    if (position < 0 || position >= static_cast<int>(layout_.fields().size())) return DBK_DAMAGED;
    indexFields_.push_back(position);
    number = static_cast<int>(indexFields_.size());
    return DBK_OK;
}

int ServerTable::createIndex(const std::string &name, const std::string &keyField, bool unique, int &number) {
    const int position = layout_.find(keyField);
    if (position < 0 || layout_.fields()[position].type == 'B') return DBK_BAD_FIELD;
    Result made = connection_.run(
        "INSERT INTO dbk.indexes (table_id, name, key_position, is_unique) VALUES ($1, $2, $3, $4) "
        "ON CONFLICT DO NOTHING RETURNING key_position",
        {Parameter::number(id_), Parameter::text(name), Parameter::number(position),
         Parameter::text(unique ? "true" : "false")});
    if (!made) return connection_.lastStatus();
    if (PQntuples(made.get()) == 0) return DBK_EXISTS;
    indexFields_.push_back(position);
    number = static_cast<int>(indexFields_.size());
    return DBK_OK;
}

std::vector<std::string> ServerTable::storedTexts(const char *buffer) const {
    std::vector<std::string> texts;
    for (const Field &field : layout_.fields()) {
        if (field.type == 'B') continue;
        texts.push_back(canonicalFieldText(field, std::string(buffer, strnlen(buffer, field.width))));
        buffer += field.width;
    }
    return texts;
}

int ServerTable::checkUniqueKeys(const std::vector<std::string> &texts) {
    Result unique = connection_.run("SELECT key_position FROM dbk.indexes WHERE table_id = $1 AND is_unique",
                                    {Parameter::number(id_)});
    if (!unique) return connection_.lastStatus();
    for (int row = 0; row < PQntuples(unique.get()); ++row) {
        const int index = dataIndexOf(std::atoi(PQgetvalue(unique.get(), row, 0)));
        if (index == 0) return DBK_DAMAGED;
        Result taken = connection_.run("SELECT 1 FROM dbk.records WHERE table_id = $1 AND fields[$2::integer] = $3 LIMIT 1",
                                       {Parameter::number(id_), Parameter::number(index), Parameter::text(texts[index - 1])});
        if (!taken) return connection_.lastStatus();
        if (PQntuples(taken.get()) > 0) return DBK_DUPLICATE_KEY;
    }
    return DBK_OK;
}

int ServerTable::append(const char *buffer) {
    const std::vector<std::string> texts = storedTexts(buffer);
    std::string arraySql = "ARRAY[";
    std::vector<Parameter> parameters{Parameter::number(id_)};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        arraySql += (i ? ", $" : "$") + std::to_string(i + 2) + "::text";
        parameters.push_back(Parameter::text(texts[i]));
    }
    arraySql += "]::text[]";
    if (!connection_.runCommand("BEGIN")) return connection_.lastStatus();
    const auto rollback = [&](int status) {
        connection_.runCommand("ROLLBACK");
        return status;
    };
    // The table's row is locked so that two writers cannot both pass the unique-key check.
    if (!connection_.runCommand("SELECT id FROM dbk.tables WHERE id = $1 FOR UPDATE", {Parameter::number(id_)})) {
        return rollback(connection_.lastStatus());
    }
    if (const int status = checkUniqueKeys(texts); status != DBK_OK) return rollback(status);
    if (!connection_.runCommand("INSERT INTO dbk.records (table_id, fields) VALUES ($1, " + arraySql + ")", parameters)) {
        return rollback(connection_.lastStatus());
    }
    return connection_.runCommand("COMMIT") ? DBK_OK : connection_.lastStatus();
}

int ServerTable::selectIndex(int number) {
    if (number < 0 || number > static_cast<int>(indexFields_.size())) return DBK_BAD_ARGUMENT;
    selectedIndex_ = number;
    return DBK_OK;
}

int ServerTable::deleteByKey(const std::string &key) {
    if (selectedIndex_ == 0) return DBK_BAD_ARGUMENT;
    const int position = indexFields_[selectedIndex_ - 1];
    return connection_.runCommand("DELETE FROM dbk.records WHERE table_id = $1 AND fields[$2::integer] = $3",
                                  {Parameter::number(id_), Parameter::number(dataIndexOf(position)),
                                   Parameter::text(canonicalFieldText(layout_.fields()[position], key))})
               ? DBK_OK
               : connection_.lastStatus();
}

int ServerTable::setKeyCondition(const char *condition, std::int64_t &count) {
    std::vector<KeyTest> tests;
    if (condition && *condition) {
        if (const int status = parseKeyCondition(condition, layout_, indexFields_, tests); status != DBK_OK) return status;
    }
    std::vector<Parameter> parameters{Parameter::number(id_)};
    std::string where = "table_id = $1";
    std::string order = "record_id";
    for (std::size_t i = 0; i < tests.size(); ++i) {
        const std::string index = "$" + std::to_string(parameters.size() + 1);
        const std::string value = "$" + std::to_string(parameters.size() + 2);
        where += (i == 0 ? " AND (" : " OR ") + std::string("fields[") + index + "::integer] = " + value;
        parameters.push_back(Parameter::number(dataIndexOf(tests[i].fieldPosition)));
        parameters.push_back(Parameter::text(tests[i].value));
    }
    if (!tests.empty()) {
        where += ")";
        // Key order: numbers by value, text by its bytes; equal keys in the order of appending.
        const std::string key = "fields[$2::integer]";
        order = layout_.fields()[tests[0].fieldPosition].type == 'I'
                    ? "CASE WHEN " + key + " ~ '^-?[0-9]{1,18}$' THEN " + key + "::bigint END NULLS FIRST, " + key +
                          " COLLATE \"C\", record_id"
                    : key + " COLLATE \"C\", record_id";
    }
    // One column per stored field, so that no array text has to be parsed here.
    const std::size_t width = layout_.dataColumns().size();
    std::string columns;
    for (std::size_t i = 1; i <= width; ++i) columns += (i > 1 ? ", fields[" : "fields[") + std::to_string(i) + "]";
    if (columns.empty()) columns = "NULL";
    Result rows = connection_.run("SELECT " + columns + " FROM dbk.records WHERE " + where + " ORDER BY " + order, parameters);
    if (!rows) return connection_.lastStatus();
    selected_.clear();
    nextSelected_ = 0;
    for (int row = 0; row < PQntuples(rows.get()); ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < static_cast<int>(width); ++column) texts.emplace_back(PQgetvalue(rows.get(), row, column));
        selected_.push_back(std::move(texts));
    }
    count = static_cast<std::int64_t>(selected_.size());
    return DBK_OK;
}

int ServerTable::readNextMatch(char *buffer) {
    if (nextSelected_ >= selected_.size()) return DBK_NO_RECORD;
    const std::vector<std::string> &texts = selected_[nextSelected_++];
    std::size_t next = 0;
    for (const Field &field : layout_.fields()) {
        if (field.type == 'B') continue;
        const std::string text = next < texts.size() ? texts[next] : std::string();
        ++next;
        const bool number = field.type == 'I' || field.type == 'N';
        const std::string fitted = number ? fitRight(text, field.width) : fitLeft(text, field.width);
        std::memcpy(buffer, fitted.data(), fitted.size());
        buffer += fitted.size();
    }
    *buffer = '\0';
    return DBK_OK;
}

}  // namespace dbk::server

// The rows of CSV text split into cells, for tests: commas separate, a line ending in a comma
// has an empty last cell. (Quoted cells are not taken apart; the tests' tables have none.)
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace phonomir::testing {

inline std::vector<std::vector<std::string>> csvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream cellStream(line);
        for (std::string cell; std::getline(cellStream, cell, ',');) cells.push_back(cell);
        if (!line.empty() && line.back() == ',') cells.push_back("");
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace phonomir::testing

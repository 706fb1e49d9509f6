#include "phonomir/FolderDate.h"

#include "phonomir/DisplayTime.h"

#include <cctype>

namespace phonomir {
namespace {

bool digitsAt(const std::string& text, std::size_t first, std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

int daysIn(int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

std::string typedDate(std::time_t moment) { return typedFromStored(storedDate(moment)); }

std::optional<std::string> storedFolderDate(const std::string& typed) {
    if (typed.size() < 10 || !digitsAt(typed, 0, 4) || !digitsAt(typed, 5, 2) || !digitsAt(typed, 8, 2))
        return std::nullopt;
    const int year = std::stoi(typed.substr(0, 4));
    const int month = std::stoi(typed.substr(5, 2));
    const int day = std::stoi(typed.substr(8, 2));
    if (month < 1 || month > 12 || day < 1 || day > daysIn(month, year)) return std::nullopt;
    return typed.substr(0, 4) + typed.substr(5, 2) + typed.substr(8, 2);
}

std::string typedFromStored(const std::string& stored) { return displayTime(stored); }

}  // namespace phonomir

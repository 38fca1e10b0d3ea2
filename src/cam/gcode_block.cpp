// Reading the words of a G-code line for the program simulation, with the line reader's word
// scanner (gcom) for everything it reads.
#include "cam/gcode_block.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "base/text.h"
#include "geometry/gcode_reader.h"

namespace korvel {

namespace {

bool IsIntegerWord(char c) {
    switch (c & ~0x20) {
    case 'A':
    case 'G':
    case 'H':
    case 'L':
    case 'M':
    case 'N':
    case 'O':
    case 'P':
    case 'S':
    case 'T':
        return true;
    default:
        return false;
    }
}

// The position of the first character that is no blank or tab, or npos.
std::size_t SkipBlanks(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && text[i] != '\t')
            return i;
    return std::string_view::npos;
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// The number after a letter is what the word scanner moves over: digits, '.' and '-'. A
// control reads only a sign in front and one decimal point; anything else is no number.
bool WellFormed(std::string_view number) {
    int points = 0;
    for (std::size_t i = 0; i < number.size(); ++i) {
        if (number[i] == '-' && i > 0)
            return false;
        points += number[i] == '.';
    }
    return points <= 1;
}

// The word scanner ends a line at an integer word written with a decimal point. Controls
// read G59.1 and S1000. as words, so they are read here: the letter, the value and the text
// after the word. False when the text at the start is no such word.
bool DecimalIntegerWord(std::string_view text, char& letter, double& value, std::size_t& used,
                        std::string& error) {
    if (text.empty() || !IsIntegerWord(text[0]))
        return false;
    std::size_t i = 1;
    while (i < text.size() && IsNumberChar(text[i]))
        ++i;
    std::string_view number = text.substr(1, i - 1);
    if (number.find('.') == std::string_view::npos)
        return false;
    letter = static_cast<char>(text[0] & ~0x20);
    used = i;
    std::string digits(number);
    char* end = nullptr;
    double v = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size() || !std::isfinite(v)) {
        error = Sprintf("cannot read %c%s", letter, digits.c_str());
        return true;
    }
    double tenths = v * 10;
    bool whole = v == std::floor(v);
    if (letter == 'G' && std::fabs(tenths - std::round(tenths)) < 1e-6) {
        value = std::round(tenths) / 10;
    } else if (whole) {
        value = v;
    } else {
        error = Sprintf("%c%s is not a whole number", letter, digits.c_str());
        return true;
    }
    return true;
}

bool Store(GcodeBlock& b, char letter, double value, std::string& error) {
    if (!std::isfinite(value) || std::fabs(value) > kLargestGcodeValue) {
        error = Sprintf("%c word out of range", letter);
        return false;
    }
    if (letter == 'G' || letter == 'M') {
        int& count = letter == 'G' ? b.g_count : b.m_count;
        if (count == GcodeBlock::kMaxCodes) {
            error = Sprintf("too many %c words", letter);
            return false;
        }
        int code = letter == 'G' ? static_cast<int>(std::lround(value * 10))
                                 : static_cast<int>(std::lround(value));
        (letter == 'G' ? b.g : b.m)[count++] = code;
        return true;
    }
    if (b.Has(letter)) {
        error = Sprintf("%c given twice", letter);
        return false;
    }
    b.letters |= 1u << (letter - 'A');
    b.value[letter - 'A'] = value;
    return true;
}

} // namespace

bool ReadGcodeBlock(std::string_view line, GcodeBlock& block, std::string& error) {
    // Called for every line of long programs: the value table is not cleared (see Value).
    block.g_count = 0;
    block.m_count = 0;
    block.letters = 0;
    block.percent = false;
    error.clear();
    std::size_t start = SkipBlanks(line);
    if (start != std::string_view::npos && line[start] == '/')
        line.remove_prefix(start + 1); // block delete: the line runs as if the switch were off
    while (true) {
        std::size_t i = SkipBlanks(line);
        if (i == std::string_view::npos)
            return true;
        line.remove_prefix(i);
        char c = line[0];
        if (c == '\r' || c == '\n' || c == ';')
            return true;
        if (c == '(') { // a comment runs to its closing parenthesis
            std::size_t close = line.find(')');
            if (close == std::string_view::npos)
                return true;
            line.remove_prefix(close + 1);
            continue;
        }
        // Most words are what the word scanner reads; the rest (and every fault) below.
        int l;
        double value;
        if (std::optional<std::string_view> rest = gcom(line, l, value)) {
            std::size_t used = line.size() - rest->size();
            if (!WellFormed(line.substr(1, used - 1))) {
                error = Sprintf("cannot read %s", std::string(line.substr(0, used)).c_str());
                return false;
            }
            if (!Store(block, static_cast<char>(l), value, error))
                return false;
            line = *rest;
            continue;
        }
        char letter;
        std::size_t used = 1; // the letter and the number after it
        bool point = false;
        while (used < line.size() && IsNumberChar(line[used]))
            point |= line[used++] == '.';
        if (!WellFormed(line.substr(1, used - 1))) {
            error = Sprintf("cannot read %s", std::string(line.substr(0, used)).c_str());
            return false;
        }
        if ((c & ~0x20) == 'D') { // a register number (cutter compensation): read, not used
            if (!Store(block, 'D', std::atof(std::string(line.substr(1, used - 1)).c_str()), error))
                return false;
            line.remove_prefix(used);
            continue;
        }
        // (Only an integer word with a decimal point needs more than the word scanner.)
        if (point && DecimalIntegerWord(line, letter, value, used, error)) {
            if (!error.empty() || !Store(block, letter, value, error))
                return false;
            line.remove_prefix(used);
            continue;
        }
        if (l == '%') {
            block.percent = true;
            return true;
        }
        error = Sprintf("cannot read \"%s\"", std::string(line.substr(0, 20)).c_str());
        return false;
    }
}

} // namespace korvel

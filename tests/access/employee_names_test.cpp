// Names of an employee as the look-ups build them.
#include "access/employee_names.h"
#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace {

using platform::ru;

std::string padded(const std::string& text, std::size_t width) {
    std::string s = text;
    s.resize(width, ' ');
    return s;
}

TEST(SurnameWithInitials, OneOrTwoInitials) {
    const std::string surname = padded(ru("Петров"), 25);
    EXPECT_EQ(dostup::surnameWithInitials(surname, padded(ru("Иван Сергеевич"), 40)),
              ru("Петров И.С."));
    EXPECT_EQ(dostup::surnameWithInitials(surname, padded(ru("Иван"), 40)), ru("Петров И."));
    EXPECT_EQ(dostup::surnameWithInitials(surname, padded(ru("И.С."), 40)), ru("Петров И.С."));
    EXPECT_EQ(dostup::surnameWithInitials(surname, padded(ru("И."), 40)), ru("Петров И."))
        << "a point that is the last non-blank character gives no second initial";
}

TEST(SurnameWithInitials, TwoBlanksInARowGiveABlankInitial) {
    EXPECT_EQ(dostup::surnameWithInitials(padded(ru("Петров"), 25),
                                          padded(ru("Иван  Сергеевич"), 40)),
              ru("Петров И. ."));
}

TEST(SurnameWithInitials, ClearedRecordGivesTwoBlanksAndAPoint) {
    EXPECT_EQ(dostup::surnameWithInitials(std::string(25, ' '), std::string(40, ' ')), "  .");
}

TEST(FullName, SurnameClippedFirstNamesKeptWhole) {
    const std::string first = padded(ru("Иван Сергеевич"), 40);
    EXPECT_EQ(dostup::fullName(padded(ru("Петров"), 25), first), ru("Петров ") + first);
    EXPECT_EQ(dostup::fullName(std::string(25, ' '), std::string(40, ' ')), std::string(41, ' '))
        << "a code that does not exist gives 41 blanks";
}

}  // namespace

// Code page 1251 text: conversion to and from UTF-8 (the UI's Unicode), and the
// upper-casing rule that every case-insensitive key and UPPERSTR use.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Every byte of code page 1251 has a Unicode counterpart except 0x98, which maps to
// U+FFFD on the way out and is never produced on the way in.
std::string cp1251ToUtf8(std::string_view cp1251);
// Characters without a code page 1251 counterpart become '?'. Invalid UTF-8
// sequences become '?' as well; the conversion never fails.
std::string utf8ToCp1251(std::string_view utf8);

// Upper case of one character: 224..255 ("а".."я") become 32 lower ("А".."Я");
// every other character goes through the runtime's ordinary upper-casing
// (Latin a..z and the other lower-case letters of code page 1251, such as "ё").
unsigned char upperChar(unsigned char c);
unsigned char lowerChar(unsigned char c);  // the inverse mapping
std::string upper(std::string_view cp1251);
std::string lower(std::string_view cp1251);
void upperInPlace(char* text, std::size_t size);  // over the whole declared size

// A text written in the source (UTF-8) as the program's code page 1251 text:
// ru("Понедельник"). All Russian literals of the program go through it.
inline std::string ru(std::string_view utf8) { return utf8ToCp1251(utf8); }

// Trailing blanks removed (the runtime's CLIP).
std::string_view clip(std::string_view text);

}  // namespace platform

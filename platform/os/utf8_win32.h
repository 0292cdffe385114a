// UTF-8 paths to and from the wide-character strings of the Windows calls.
#pragma once

#include <string>

// The UTF-16 form of a UTF-8 string; empty for an empty or invalid one.
std::wstring widen(const std::string& utf8);

// The UTF-8 form of a UTF-16 string; empty for null.
std::string narrow(const wchar_t* wide);

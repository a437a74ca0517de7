// The list files of data/countries as the build writes them into
// CountryTexts.cpp (countries/embed.cmake): the code and the file's bytes.
#pragma once

struct CountryText {
    const char* code;
    const char* text;
};

extern const CountryText kCountryTexts[];
extern const int kCountryTextCount;

#pragma once

namespace quarvel {

// Lets the console show the program's text, which is UTF-8 (file names in any script), for as
// long as it lives, and gives the console back as it found it.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    // The code page the console had, 0 when there is nothing to give back.
    unsigned m_previousCodePage = 0;
};

} // namespace quarvel

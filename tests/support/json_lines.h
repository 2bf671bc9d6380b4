#pragma once

#include <QJsonObject>
#include <string>

namespace quarvel::test {

// One line of --json output read by Qt's JSON reader, independent of the writer under test; a
// line that is not one JSON object fails the test and reads as an empty object.
QJsonObject parseJsonLine(const std::string& line);

} // namespace quarvel::test

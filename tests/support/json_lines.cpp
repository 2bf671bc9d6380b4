#include "tests/support/json_lines.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace quarvel::test {

QJsonObject parseJsonLine(const std::string& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    EXPECT_TRUE(document.isObject()) << line;
    return document.object();
}

} // namespace quarvel::test

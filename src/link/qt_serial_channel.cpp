#include "link/qt_serial_channel.h"

#include <QSerialPort>
#include <QString>
#include <chrono>
#include <utility>

namespace quarvel {

namespace {

constexpr int kReadWaitMs = 100;
constexpr int kWriteWaitPerByteMs = 100;

class QtSerialChannel final : public ByteChannel {
public:
    explicit QtSerialChannel(const QString& name) { m_port.setPortName(name); }

    bool open(const SerialSettings& settings) {
        if (settings.dataBits < QSerialPort::Data5 || settings.dataBits > QSerialPort::Data8) {
            return false;
        }
        // Flow control and the rest stay as Qt opens the line.
        return m_port.setBaudRate(settings.baudRate) &&
               m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
               m_port.setParity(QSerialPort::NoParity) &&
               m_port.setStopBits(QSerialPort::OneStop) && m_port.open(QIODevice::ReadWrite);
    }

    bool write(std::span<const std::uint8_t> bytes) override {
        const auto size = static_cast<qint64>(bytes.size());
        if (m_port.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
            return false;
        }
        // Hand the bytes to the driver at once: a frame goes out one byte per call.
        while (m_port.bytesToWrite() > 0) {
            if (!m_port.waitForBytesWritten(kWriteWaitPerByteMs * static_cast<int>(size))) {
                return false;
            }
        }
        return true;
    }

    int readByte() override {
        if (m_port.bytesAvailable() == 0 && !m_port.waitForReadyRead(kReadWaitMs)) {
            return failed() ? -2 : -1;
        }
        char byte = 0;
        if (!m_port.getChar(&byte)) {
            return failed() ? -2 : -1;
        }
        return static_cast<std::uint8_t>(byte);
    }

    void discardPending() override { m_port.clear(QSerialPort::AllDirections); }

    std::int64_t nowMs() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

private:
    bool failed() const {
        const QSerialPort::SerialPortError error = m_port.error();
        return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
    }

    QSerialPort m_port;
};

} // namespace

ChannelOpener qtSerialOpener(std::function<std::string(int portNumber)> deviceName) {
    return [deviceName = std::move(deviceName)](
               const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        auto channel = std::make_unique<QtSerialChannel>(
            QString::fromStdString(deviceName(settings.portNumber)));
        if (!channel->open(settings)) {
            return nullptr;
        }
        return channel;
    };
}

} // namespace quarvel

#pragma once
// A serial device in memory: it records the lines, escapes and purges asked of it, holds
// bytes to be read and takes what is written, and hands out line events the test posts.
// Misuse (a transfer or setting on a closed device) is counted, so a test can insist on none.

#include "platform/SerialDevice.h"

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace zfw::test {

class FakeSerialDevice final : public ISerialDevice {
public:
    // Shared with the test, which keeps a pointer after handing the device over.
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool open = false;
        QString path;
        int openError = 0;
        int lineError = 0;  // setLine answers this
        int escapeError = 0;
        std::vector<SerialLine> lines;
        std::vector<std::string> calls;  // "dtr 1", "break 0", "purge in out", ...
        QByteArray input;                // what read() hands out
        QByteArray written;
        ModemLines modem;
        int errors = 0;
        std::deque<std::uint32_t> events;
        int waiting = 0;  // threads inside waitEvent
        int wakeUps = 0;
        int misuse = 0;
    };

    explicit FakeSerialDevice(std::shared_ptr<State> state) : m_s(std::move(state)) {}

    // Posts an event for the waiting thread.
    static void post(State& s, std::uint32_t events);

    int open(const QString& path) override;
    void close() override;
    bool isOpen() const override;
    int setLine(const SerialLine& line) override;
    int waitReadable(int timeoutMs) override;
    int waitWritable(int timeoutMs) override;
    qint64 read(char* into, qint64 count) override;
    qint64 write(const char* from, qint64 count) override;
    int inQueue() const override;
    int outQueue() const override;
    int lineErrors() override;
    bool modemLines(ModemLines* lines) const override;
    int setDtr(bool on) override { return escape("dtr", on); }
    int setRts(bool on) override { return escape("rts", on); }
    int setBreak(bool on) override { return escape("break", on); }
    int setXon(bool on) override { return escape("xon", on); }
    void purge(bool input, bool output) override;
    std::uint32_t waitEvent(std::uint32_t mask) override;
    void wakeUp() override;

private:
    int escape(const char* what, bool on);

    std::shared_ptr<State> m_s;
    bool m_woken = false;
};

}  // namespace zfw::test

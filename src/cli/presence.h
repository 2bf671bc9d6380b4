#pragma once

namespace quarvel {

// Decides from one search after another that a unit has come or gone: a unit is there once it
// answers twice in a row, and gone once three searches in a row get no answer, so that a unit
// that flickers while it is put on or taken off is neither loaded twice nor missed.
class PresenceWatch {
public:
    enum class Waiting { ForArrival, ForDeparture };

    explicit PresenceWatch(Waiting waiting) : m_waiting(waiting) {}

    // One search's outcome; true once the awaited change has happened.
    bool searched(bool answered);

private:
    Waiting m_waiting;
    int m_inARow = 0;
};

} // namespace quarvel

#include "cli/presence.h"

namespace quarvel {
namespace {

constexpr int kAnswersForArrival = 2;
constexpr int kMissesForDeparture = 3;

} // namespace

bool PresenceWatch::searched(bool answered) {
    const bool awaited = answered == (m_waiting == Waiting::ForArrival);
    m_inARow = awaited ? m_inARow + 1 : 0;
    return m_inARow >=
           (m_waiting == Waiting::ForArrival ? kAnswersForArrival : kMissesForDeparture);
}

} // namespace quarvel

#pragma once

namespace quarvel {

// The retry question, in the retry prompt's own words.
inline constexpr const char* kRetryPrompt = "The application could not send some of the data. "
                                            "Would you like it to try sending it again?";

} // namespace quarvel

#pragma once
// The worked example of a full commodity record: Apple, 1001, 5.00, price may change, by weight,
// tare 0, shelf life 7, no discount, rate 0, description 3. The core's builder must produce these
// bytes and the simulated scale's decoder must read them, each with its own code.
#include <string>

namespace korvan::test {

inline const std::string kAppleFullRecord = "0000\x0C"
                                            "Apple\x0C"
                                            "1001\x0C"
                                            "5.00\x0C\x10\x0C\x10\x0C"
                                            "0\x0C"
                                            "7\x0C\x10\x0C"
                                            "0\x0C"
                                            "3\r\n";

} // namespace korvan::test

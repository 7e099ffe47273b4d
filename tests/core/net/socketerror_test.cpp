#include "core/net/socketerror.h"

#include <gtest/gtest.h>

using namespace plimb;

TEST(ConnectFailureAdvice, EachFailureSaysWhatHappenedAtTheHostAndPortTried) {
    const std::pair<int, const char*> rows[] = {
        {10061, "Nothing answers at 10.77.0.10 port 7772: the game may not be hosted"},
        {11001, "There is no computer called 10.77.0.10"},
        {10051, "no route from this computer to 10.77.0.10 port 7772"},
        {10050, "no route from this computer to 10.77.0.10 port 7772"},
        {10065, "No computer answers at 10.77.0.10 port 7772"},
        {10060, "No answer came from 10.77.0.10 port 7772 in time"},
        {10013, "The connection to 10.77.0.10 port 7772 could not be made"}, // one a connect hardly gives
    };
    for (const auto& [code, says] : rows) {
        const std::string advice = connectFailureAdvice(code, "10.77.0.10", 7772);
        EXPECT_NE(advice.find(says), std::string::npos) << code << ": " << advice;
        EXPECT_EQ(advice.back(), '.') << "one whole sentence: " << advice;
    }
    EXPECT_NE(connectFailureAdvice(10061, "::1", 7000).find("at ::1 port 7000"), std::string::npos);
}

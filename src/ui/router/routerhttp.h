#pragma once
// One HTTP exchange with the router, bounded in time and in size: a gateway that answers one
// byte at a time, never, or without end costs at most the deadline and kMaxReplyBytes.
#include "core/router/gatewaytrust.h"
#include "core/router/httpreply.h"

#include <chrono>
#include <functional>
#include <string>

namespace plimb::router {

struct Exchange {
    enum class End { Answered, NoAnswer, Stopped } end = End::NoAnswer;
    HttpReply reply; // Complete when Answered
    // This computer's address on the connection: where the router forwards to.
    std::string localAddress;
};

// Sends `request` (the whole HTTP request) to `url`'s host and port and reads the reply until it
// is complete, the connection ends, kMaxReplyBytes are in, `deadline` passes or `stop` says so.
// `stop` is asked at least every 200 ms.
Exchange exchange(const HttpUrl& url, const std::string& request,
                  std::chrono::steady_clock::time_point deadline, const std::function<bool()>& stop);

// A SOAP call of `action` in `service` at `controlUrl`; `arguments` is the inner XML. The UPnP
// error code of a refusal, 0 on success, negative when no SOAP answer came.
struct SoapAnswer {
    int code = -1;
    std::string body;
};
SoapAnswer soap(const std::string& controlUrl, const std::string& service, const std::string& action,
                const std::string& arguments, std::chrono::steady_clock::time_point deadline,
                const std::function<bool()>& stop);

} // namespace plimb::router

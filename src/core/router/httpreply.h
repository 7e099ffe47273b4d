#pragma once
// Reading a router's HTTP replies: the status, the body (chunked or not), and the values inside a
// SOAP answer.
#include <optional>
#include <string>
#include <string_view>

namespace plimb::router {

struct HttpReply {
    enum class State { Incomplete, Complete, Bad } state = State::Incomplete;
    int status = 0;
    std::string body;
};

// `raw` is what arrived so far; `ended` says the server closed the connection. A body without
// a length and without chunks runs to the end of the connection.
HttpReply parseHttpReply(std::string_view raw, bool ended);

// The text inside the first element called `name` in `xml`, with or without a namespace prefix,
// blanks at its ends dropped; nothing when there is no such element or it holds markup.
std::optional<std::string> elementText(std::string_view xml, std::string_view name);

} // namespace plimb::router

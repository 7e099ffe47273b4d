// The game record reader and the replay on arbitrary files. Checks, besides crashes and sanitizer
// reports:
//  - a record that reads is written again (header and notices) to a text that reads back to the
//    same record;
//  - the replay of any readable record reaches every moment, and a moment reached by a seek from
//    anywhere shows what the straight run showed there.
#include <string>

#include "fuzzinput.h"
#include "core/records/gamerecord.h"
#include "core/records/history.h"
#include "core/records/replay.h"

using namespace plimb;
using plimb::fuzz::fail;

namespace {
std::string boards(const ViewState& v) {
    std::string out;
    for (const auto* family : {&v.myletter, &v.hisletter})
        for (const SlotView& s : *family)
            out += s.drawn ? static_cast<char>('a' + s.code % 26) : '.';
    for (const SlotView& s : v.extra)
        out += s.drawn ? static_cast<char>('a' + s.code % 26) : '.';
    for (const SeatRowView& r : v.rows)
        out += "|" + r.name + "|" + r.score;
    return out + v.turntime + std::to_string(v.mywords.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RecordListing listing;
    listing.add("fuzz.txt", bytes);
    const RecordRead read = readRecord(bytes);
    if (!read.record) return 0;
    const GameRecord& record = *read.record;

    std::string again = formatHeader(record.header);
    for (const RecordedNotice& n : record.notices)
        again += formatNotice(n.ms, n.text);
    const RecordRead back = readRecord(again);
    if (!back.record || !(back.record->header == record.header) || back.record->notices != record.notices)
        fail("a record does not survive being written again", again);

    ReplayModel replay(record);
    std::vector<std::string> straight;
    for (std::size_t m = replay.firstMoment(); m <= replay.lastMoment(); ++m) {
        replay.seek(m);
        straight.push_back(boards(replay.view()));
    }
    for (const std::size_t m : {replay.firstMoment(), replay.lastMoment() / 2, replay.lastMoment()}) {
        replay.seek(replay.lastMoment());
        replay.seek(m);
        if (boards(replay.view()) != straight[replay.position() - replay.firstMoment()])
            fail("a seek shows another moment than the straight run", std::string(bytes));
        replay.stepBack();
        replay.stepForward();
    }
    return 0;
}

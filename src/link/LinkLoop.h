#pragma once
// The link loop, run by the link worker on an open channel: send the hello byte, then send each
// message the job routine posts and hand every answer back, until the running flag is cleared.
// A scale that stays silent past the channel's limit gets the end byte once, and the channel's
// no-answer code is reported.
#include <string>

#include "link/Channel.h"
#include "link/LinkControl.h"

namespace korvan {

class LinkLoop {
public:
    // Where the loop reports, on the worker thread.
    class Events {
    public:
        virtual ~Events() = default;
        virtual void received(std::string chunk) = 0; // bytes up to the first zero byte
        virtual void status(int code) = 0;            // the channel's no-answer code
        virtual void countText(std::string text) = 0; // shown while the device is searched
    };

    LinkLoop(Channel& channel, LinkControl& control, Events& events);

    // Runs until the running flag is cleared or the scale falls silent. Returns 0, or the link
    // code of a channel failure that ended it (not reported through `events`).
    [[nodiscard]] int run();

private:
    Channel& channel_;
    LinkControl& control_;
    Events& events_;
};

} // namespace korvan

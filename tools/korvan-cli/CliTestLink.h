#pragma once
// korvan-cli test-link: the settings screen's test of the link. The prompts go to stdout in order
// (the last is the outcome), and the settings are stored as the screen stores them.
#include "CliCommand.h"

namespace korvan::cli {

class TestLink : public CliCommand {
public:
    TestLink();
    CliOutcome run(const CliContext& context) override;
};

} // namespace korvan::cli

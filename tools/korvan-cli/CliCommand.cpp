#include "CliCommand.h"

#include <CLI/CLI.hpp>

#include "CliCommodities.h"
#include "CliExport.h"
#include "CliJob.h"
#include "CliReport.h"
#include "CliMain.h"
#include "CliTestLink.h"

namespace korvan::cli {

CliCommand::CliCommand(std::string group, std::string name, std::string help)
    : group_(std::move(group)), name_(std::move(name)), help_(std::move(help)) {}

CLI::App* CliCommand::attach(CLI::App& parent, const std::string& footer) {
    CLI::App* command = parent.add_subcommand(name_, help_);
    command->footer(footer);
    addOptions(*command);
    return command;
}

void CliCommand::addOptions(CLI::App&) {}

std::vector<std::unique_ptr<CliCommand>> allCommands() {
    std::vector<std::unique_ptr<CliCommand>> commands;
    commands.push_back(std::make_unique<SendCommodities>());
    commands.push_back(std::make_unique<SendDescriptions>());
    commands.push_back(std::make_unique<SendStoreText>(StoreText::Field::StoreName));
    commands.push_back(std::make_unique<SendStoreText>(StoreText::Field::ShopPhone));
    commands.push_back(std::make_unique<SendStoreText>(StoreText::Field::StoreAddress));
    commands.push_back(std::make_unique<SendDateTime>());
    commands.push_back(std::make_unique<SendLabel>());
    commands.push_back(std::make_unique<ReadRecords>());
    commands.push_back(std::make_unique<ClearRecords>());
    commands.push_back(std::make_unique<ExportRecords>());
    commands.push_back(std::make_unique<PrintRecords>());
    commands.push_back(std::make_unique<Report>());
    commands.push_back(std::make_unique<ExportCommodities>());
    commands.push_back(std::make_unique<ImportCommodities>());
    commands.push_back(std::make_unique<Update>());
    commands.push_back(std::make_unique<TestLink>());
    return commands;
}

std::variant<LinkSettings, CliOutcome> chooseLink(const CliContext& context,
                                                  std::optional<JobKind> job) {
    LinkSettings settings;
    if (const IoResult read = settings.load(LinkSettings::file(context.dir)); !read)
        return CliOutcome{kExitUsage, read.message()};
    const CliOptions& options = context.options;
    if (options.link)
        settings.setMode(*options.link);
    if (job && JobKinds::link(*job, settings.mode) != settings.mode)
        settings.setMode(JobKinds::link(*job, settings.mode));
    if (options.ip)
        settings.targetIp = *options.ip;
    if (options.port)
        settings.port = *options.port;
    if (settings.mode == LinkMode::None)
        return CliOutcome{kExitUsage, "record/tx.rec names no link; choose one with --link\nTry '" +
                                          context.helpPrefix + " --help' for more information."};
    return settings;
}

} // namespace korvan::cli

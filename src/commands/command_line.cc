#include "commands/command_line.h"

#include <iostream>
#include <new>

#include "research/corpus.h"
#include "research/output.h"

namespace {
std::string name = "syllex";
}  // namespace

const std::string& commandName() { return name; }

void warn(const std::string& message) { std::cerr << name << ": " << message << '\n'; }

void setUpCommand(CLI::App& app, const std::string& description) {
  name = app.get_name();
  app.description(description);
  app.set_version_flag("--version", name + " " SYLLEX_VERSION);
  app.option_defaults()->always_capture_default();
}

int runCommand(CLI::App& app, int argc, char** argv, const std::function<int()>& body) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    warn(e.what());
    std::cerr << "Run '" << name << " --help' for the options.\n";
    return 2;
  }
  try {
    return body();
  } catch (const UsageError& e) {
    warn(e.what());
    std::cerr << "Run '" << name << " --help' for the options.\n";
    return 2;
  } catch (const InputError& e) {
    warn(e.what());
  } catch (const OutputError& e) {
    warn(e.what());
  } catch (const std::bad_alloc&) {
    warn("out of memory");
  }
  return 1;
}

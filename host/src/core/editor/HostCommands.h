// The host's own commands and the prompt for a system variable typed at the command line.
#pragma once

#include <string>

namespace arxhost {

class Session;
class CommandProcessor;

void registerHostCommands(Session& session, CommandProcessor& processor);
// "Enter new value for NAME <current>: " and the change, with the host's messages.
void promptForVariable(Session& session, const std::wstring& upperName);

} // namespace arxhost

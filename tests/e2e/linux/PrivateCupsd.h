// SPDX-License-Identifier: MIT
// A CUPS server of the test's own on loopback: configuration, spool, log and state under a
// temporary folder, a free port, started and stopped by the test; and printer-emulator
// daemons for its queues' socket:// devices.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramRunner.h"
#include "support/TestSupport.h"

namespace ps::test {

/// A free TCP port on 127.0.0.1 (taken by nobody when this returns).
int FreeLoopbackPort();

/// A program started in the background; stopped with SIGTERM (then SIGKILL) when destroyed.
class TBackgroundProgram {
public:
    /// Standard output and error go to `log`.
    TBackgroundProgram(const std::vector<std::string>& argv, const std::filesystem::path& log);
    ~TBackgroundProgram();
    TBackgroundProgram(const TBackgroundProgram&) = delete;
    TBackgroundProgram& operator=(const TBackgroundProgram&) = delete;
    bool Running() const;
    pid_t Pid() const { return m_Pid; }

private:
    pid_t m_Pid = -1;
};

class TPrivateCupsd {
public:
    /// Why this machine cannot run the server at all (no cupsd installed); empty when it can.
    static std::string CannotRunReason();

    TPrivateCupsd();
    ~TPrivateCupsd();

    /// Writes the configuration and starts cupsd; false (with the log's end in `problem`) when
    /// it does not answer within 20 seconds. Sets CUPS_SERVER and CUPS_STATEDIR of this process,
    /// which the programs it starts inherit.
    bool Start(std::string& problem);

    /// lpadmin with the server's environment; the result of the run.
    TProgramResult Admin(const std::vector<std::string>& args) const;
    /// Any CUPS client program (lp, cupsdisable, cancel) with the server's environment.
    TProgramResult Client(const std::string& program, const std::vector<std::string>& args) const;

    /// A temporary folder everyone may read (the server's backends run as another user).
    const std::filesystem::path& Folder() const { return m_Dir.Path(); }
    int Port() const { return m_iPort; }

private:
    TTempDir m_Dir;
    int m_iPort = 0;
    std::unique_ptr<TBackgroundProgram> m_pServer;
};

/// A printer-emulator daemon serving [Device:ID] of `directory`; Port() once it listens.
class TEmulatorDaemon {
public:
    TEmulatorDaemon(const std::filesystem::path& program, const std::filesystem::path& directory,
                    const std::string& id);
    ~TEmulatorDaemon();
    int Port() const { return m_iPort; }
    std::string SocketUri() const;

private:
    pid_t m_Pid = -1;
    int m_iPort = 0;
};

}  // namespace ps::test

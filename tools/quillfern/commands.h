#pragma once
// Subcommands of the command-line program. Each takes the arguments after its
// own name (argv[0] is the subcommand name) as UTF-8 and returns the exit code.
namespace qf::cli {

int run_records_command(int argc, char** argv);
int run_phone_command(int argc, char** argv);
int run_carve_command(int argc, char** argv);

}  // namespace qf::cli

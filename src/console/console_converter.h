// The converter for one input of the console program, from its options and the input's encoding.
#pragma once

#include "block_converter.h"
#include "command_line.h"
#include "text_encoding.h"

#include <memory>

std::unique_ptr<StreamConverter> makeConsoleConverter(TextEncoding encoding, const ConsoleOptions &options);

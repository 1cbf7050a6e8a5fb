// The message the user reads for a file failure.
#pragma once

#include <string>

#include "platform/FileException.h"

/// The message for a file failure's cause ("File Error! ..."); causes
/// outside 0-14 give the unspecified-error text.
std::string FileErrorText(const CFileException& failure);

// Whole-file reading and replacing, per backend. Names are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// The file's bytes. EFOpenError "Impossible d'ouvrir le fichier <name>" when it cannot be
// opened or read. Other programs may read the file meanwhile, not write it.
std::string ReadWholeFile(const std::string& fileName);

// Makes `bytes` the file's whole content in one step: they are written to a temporary file
// beside it, flushed to the disk, then put in its place (replacing any old file). On failure
// the old file is left whole, the temporary file removed, and EFCreateError
// "Impossible de créer le fichier <name>" or EWriteError "Erreur d'écriture dans le flux" raised.
void ReplaceFileContents(const std::string& fileName, std::string_view bytes);

// The name of the temporary file ReplaceFileContents writes beside `fileName`.
std::string TemporaryNameFor(const std::string& fileName);

} // namespace tk

// Reading the thread table threads.dat, a script of THREADTYPE lines.
#pragma once

namespace korvel {

// Empties the table and reads threads.dat (library directory, else program directory). A
// missing file is reported in DB_ERR.TXT and gives -1; else the result of its last line.
int LoadThreadDefinitions();

} // namespace korvel

#pragma once
#include <string>
#include <string_view>

#include "base/replacing_file.h"

// The PDF file a print writes, from the desktop's "PDF file" or `print --pdf`. Qt's PDF output
// reports no write errors: a full disk or /dev/full leaves a torn file and Qt says nothing. So Qt
// writes into a file in memory, which is checked to be a whole PDF and only then written out
// through ReplacingFile, which reports every failure and replaces a regular file only once it is
// complete, so that an existing PDF survives a failed print. A target that is not a regular file
// (a pipe, /dev/stdout) is written directly.
class PdfTarget {
  public:
    PdfTarget() = default;
    ~PdfTarget();
    PdfTarget(const PdfTarget&) = delete;
    PdfTarget& operator=(const PdfTarget&) = delete;

    // False when the target cannot be written (Reason() says why); nothing is printed then.
    bool Open(const std::string& path);
    // The file name to give Qt's PDF output: the file in memory.
    const std::string& DrawingPath() const { return drawingPath_; }
    // Checks what Qt wrote and puts it in the target's place. False, with the target as it was
    // when it is a regular file, when the PDF is incomplete or cannot be written.
    bool Commit();
    // Throws away what was drawn; the target stays as it was.
    void Discard();

    const std::string& Reason() const { return reason_; }

  private:
    ReplacingFile file_;
    int memory_ = -1;
    std::string drawingPath_;
    std::string reason_;
};

// Whether `bytes` are a whole PDF file as far as its end tells: the last line is "%%EOF", after
// "startxref" and an offset at which the cross-reference section does start. A file torn by a
// failed write ends short of the trailer, or has lost bytes before it, which moves that section
// away from its recorded offset.
bool IsCompletePdf(std::string_view bytes);

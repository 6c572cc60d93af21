#include "framework/error_catalogue_english.h"

#include <array>

namespace fw {
namespace {

constexpr std::uint8_t Q = Severity_Question;
constexpr std::uint8_t P = Severity_ProgramError;
constexpr std::uint8_t F = Severity_Fatal;
constexpr std::uint8_t N = Severity_Notice;

// Identifier, severity, title, text. There is no message 32.
constexpr std::array<ErrorText, 52> kEnglish{{
    {1, N, "Record Retrieval Error",
     "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to "
     "previous window."},
    {2, N, "Access Denied", "Unable to get write access to the %File file."},
    {3, Q, "Record Added", "The record was added to the file. Do you want to add another?"},
    {4, N, "Add Error", "An error was experienced while creating the record. Error: %ErrorText."},
    {5, N, "Add New Record?", "The record was not found. Do you want to add a new one?"},
    {6, N, "Access Error", "The %File file could not be closed.  Error: %ErrorText."},
    {7, N, "Record Not Updated", "The record may have been changed by another station."},
    {8, N, "Record Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the "
     "Ditto button or Ctrl+' to recall your changes."},
    {9, N, "Record Retrieval Error",
     "This record was changed by another station. Those changes will now be displayed.|Error: "
     "(%ErrorText) "},
    {10, Q, "Changes Will Not Be Saved", "Are you sure you want to cancel?"},
    {11, Q, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
    {12, F, "File Creation Error", "Error: (%ErrorText) creating %File."},
    {13, N, "Record Not Deleted",
     "An error (%ErrorText) was experienced deleting a record from the %File file."},
    {14, N, "Invalid Request", "This form cannot be used to delete a record."},
    {15, N, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key: %Message"},
    {16, N, "Field Contents Error", "The value of %Field must be found in the %Message file."},
    {17, N, "Invalid Value", "The value of %Field must be one of these: %Message."},
    {18, N, "Range Error", "The value of %Field must be between %Message."},
    {19, N, "Range Error", "The value of %Field must be lower than %Message."},
    {20, N, "Range Error", "The value of %Field must be greater than %Message."},
    {21, N, "File Load Error", "The %File file could not be loaded.  Error: %ErrorText."},
    {22, F, "WMF Error", "Reading the next record of %File failed."},
    {23, N, "Invalid Request", "This form cannot be used to insert a record."},
    {24, N, "Transaction Cancelled",
     "Error: (%ErrorText) attempting to frame a transaction on the %File file."},
    {25, N, "No Records", "No records are available to process."},
    {26, F, "Access Error", "The %File file could not be opened.  Error: %ErrorText."},
    {27, N, "Undefined Procedure", "The procedure %Message has not been defined."},
    {28, N, "Record Not Updated",
     "An error (%ErrorText) was experienced making changes to the %File file."},
    {29, F, "Key Not Rebuilt", "Error: (%ErrorText) repairing the key for the %File file."},
    {30, N, "Invalid Key", "%File : invalid key. The key must be rebuilt."},
    {31, N, "Record Not Read",
     "A record held by another station was found while reading from the %File file."},
    {33, N, "Referential Integrity Error (Delete)",
     "This record is referenced from the %File file. It cannot be deleted while that reference "
     "exists."},
    {34, N, "Referential Integrity Error (Change)",
     "This record is referenced from the %File file. The linking field(s) may not be changed "
     "(RESTRICT) and will be set back to their original values."},
    {35, Q, "Auto-Number Error",
     "Attempts to number the record automatically have failed. Error: %ErrorText. Try again?"},
    {36, Q, "Delete Error",
     "An error was experienced deleting the record. Do you want to try deleting it again?"},
    {37, Q, "Update Error",
     "An error was experienced saving the record. Do you want to try saving it again?"},
    {38, Q, "Save Record", "Do you want to save the changes to this record?"},
    {39, Q, "Beginning of File",
     "The beginning of the file was reached. Do you want to start again from the end?"},
    {40, Q, "End of File",
     "The end of the file was reached. Do you want to start again from the beginning?"},
    {41, N, "Invalid Request", "This form cannot be used to change a record."},
    {42, P, "Usage Error", "The %File file was used before it was OPEN."},
    {43, N, "View Open Error",
     "Error: (%ErrorText) attempting to open the current VIEW. Filters and ranges will be "
     "ignored."},
    {44, N, "Unsupported Query Column", "The column %Field saved in the query is not supported."},
    {45, N, "SMTP Error", "The following SMTP error occurred: %Message "},
    {46, N, "NNTP Error", "%Message "},
    {47, N, "Winsock Error", "%Message "},
    {48, F, "WMF Parser Error", "Adding record to queue failed. Parsing %File."},
    {49, F, "WMF Error", "The file %File is not a valid WMF."},
    {50, F, "WMF Error", "Invalid %Field control found. Parsing %File."},
    {51, F, "WMF Error", "The field %Field was not found in the file %File."},
    {52, N, "Report Writer Error", "Poorly Formed Comment String \"%Message\" at Position %Field."},
    {53, N, "Report Writer Error", "Unknown property %Message."},
}};

}  // namespace

std::span<const ErrorText> englishErrorTexts() { return kEnglish; }

const ErrorBlock& englishDefaultErrors() {
  // Built on first use; a failure (a text too long for the block) leaves an empty table, which
  // the catalogue's own tests rule out.
  static const ErrorBlock block = [] {
    ErrorBlockResult r = buildErrorBlock(kEnglish);
    return r.ok ? std::move(r.block) : ErrorBlock{0, 0};
  }();
  return block;
}

}  // namespace fw

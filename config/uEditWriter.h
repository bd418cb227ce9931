#pragma once
// Writes a document over the file it was read from: the file's bytes with
// only the values that differ from the file changed.
//
// Records and the file's sections are matched by exact identifier and by
// their order among those with that identifier (the records are sorted
// stably, so that order is the file's). Fields 1-11 are compared with the
// value the reader took from the file; the data fields 12-16 stay as read.
// - A changed value replaces the value on the line it was read from (the
//   last with its key); the rest of the line stays: the key's spelling,
//   blanks, a "//" comment, the line end.
// - A value the file lacks goes on a new line after the section's last
//   "key=value" line (after its header when it has none); what lies below
//   that line, such as comments above the next header, stays below.
// - An emptied value (or one of blanks only) removes every line of its key
//   in the section, so that no earlier line takes its place on reading.
// - A record the file lacks goes at the end of the text, after a blank line,
//   as Serialize writes it without data fields.
// - A section whose record the document no longer holds is removed: its
//   header, its lines down to its last "key=value" line, the "//" comment
//   lines directly above its header (its title) and the blank lines directly
//   below its last key line. Comments further away, and anything that is
//   not a key line after its last one, stay.
// New lines end as most of the file's lines do (CR LF when as many do); a
// byte-order mark and whatever follows a Ctrl+Z stay as they are, and a last
// line without its end stays without one unless a record is added.

#include <string>

namespace qm {

class TCfgManager;
class TFileLayout;

std::string WriteEdits(const TFileLayout& layout, const TCfgManager& edited);

} // namespace qm

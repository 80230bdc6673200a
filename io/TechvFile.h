#pragma once

// Leaves an empty TECHV.TXT in the current directory, as the tools around the
// viewer expect after a message body is shown or listed. Written through the
// atomic writer, and only when it is missing or not empty. Failure is not an
// error: the message is shown all the same.
void LeaveTechvFile();

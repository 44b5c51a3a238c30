// What one drain of an empty message queue costs a thread that owns a shown
// window, measured in this process: the price setup pays per drain while it
// copies.
#pragma once

// Opens a one-pixel window in the screen's corner, where the screen reads
// never look, times `drains` drains in a row and closes the window again
// (a window left open would hold up any message broadcast while the bench
// waits). Returns the mean microseconds of one drain; 0 when no window
// could be opened.
double DrainMicroseconds(int drains);

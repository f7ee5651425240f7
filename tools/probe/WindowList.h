#pragma once
// Lists the visible windows of the thread's desktop (scenova-probe --desktop NAME moves it to
// the desktop that "wine explorer /desktop=NAME" opens), each top-level window followed by its
// children in their stacking order, so that a script can find the viewer's controls by what
// they are (class, id, caption, place among their siblings) rather than by where they were
// last drawn.
//
// One line per window on standard output, UTF-8, fields separated by tabs:
//   depth  handle  process  class  id  enabled  visible  left  top  right  bottom  text
// depth 0 is a visible top-level window, the others are its children, hidden ones too (so
// that a control's place among its siblings does not change when another is hidden); the
// rectangle is in screen pixels; id is the control id (0 for top-level windows); text is the
// window's own caption, read without sending it a message, so that a busy window cannot stall
// the list.
void printWindowList();

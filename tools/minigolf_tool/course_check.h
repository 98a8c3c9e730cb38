// minigolf-tool course check FILE.cor [--putts FILE] [--max-strokes N]
#pragma once

int cmd_course_check(int argc, char** argv);

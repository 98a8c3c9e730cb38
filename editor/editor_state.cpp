#include "editor/editor_state.h"

EditorState editorState;

// Everything of the class layer: the core (strings, collections, files),
// the window classes (application, frames, views, dialogs) and the controls.
#pragma once

#include "FrameworkCore.h"

#include "AfxRes.h"
#include "CmdTarget.h"
#include "CmdUI.h"
#include "Wnd.h"
#include "WinThread.h"
#include "WinApp.h"
#include "CreateContext.h"
#include "FrameWnd.h"
#include "MDIFrameWnd.h"
#include "Document.h"
#include "View.h"
#include "DocTemplate.h"
#include "SplitterWnd.h"
#include "Dialog.h"
#include "DialogCentring.h"
#include "DataExchange.h"
#include "PropertySheet.h"

#include "FrameworkControls.h"

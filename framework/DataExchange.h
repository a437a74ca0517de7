// Free exchange functions: each moves one member to or from one control,
// in the direction the CDataExchange gives. They do nothing once an earlier
// field has failed.
#pragma once

#include <string>

#include "framework/Dialog.h"

void DDX_Text(CDataExchange* pDX, int id, std::string& value);  // code page 1250 text
void DDX_Text(CDataExchange* pDX, int id, int& value);          // signed integer; asks again when not one
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);       // -1 = no selection
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);    // index in the group, -1 = none
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);  // attaches once

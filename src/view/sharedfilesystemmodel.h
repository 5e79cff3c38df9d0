#pragma once

class QFileSystemModel;

// The one file-system model of the process, listing directories and all their files (views
// on it show the image files).
// Created on the first call; GUI thread only. Setting its root path sets it for every user.
QFileSystemModel* sharedFileSystemModel();

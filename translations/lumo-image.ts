<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>BrightnessContrastDialog</name>
    <message>
        <source>Brightness-Contrast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contrast:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DepthConversionDialog</name>
    <message>
        <source>1 Bit / Pixel-8 Bit / Pixel-32 Bit / Pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diffuse Dither-Ordered Dither-No Dither</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color depth conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Dither:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>%1 (link to %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (empty folder)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (folder with 1 item)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (folder with %2 items)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-fops - Delete permanently?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the folder could not be deleted completely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These items could not be deleted:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: there is no usable trash in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These items could not be moved to the trash:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: a link to nothing cannot be moved to the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: could not be moved to the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: moved to the trash, but its original place could not be recorded for restoring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-fops - Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the files and folders permanently, after asking once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the files and folders to the trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give exactly one of --remove and --trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files or folders given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes files and folders or moves them to the trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete this item permanently?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete these %1 items permanently?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileProperties</name>
    <message>
        <source>Link to a missing file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dimensions:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link target:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilePropertiesWindow</name>
    <message>
        <source>Properties of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the properties of the files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files or folders given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-props - Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files do not exist:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the properties of files and folders.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilesCentralWidget</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Icons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multicolumn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch view mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thumbnails size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thumbnails size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FullscreenPicView</name>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GoActions</name>
    <message>
        <source>&amp;Start slideshow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top slideshow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Last image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&amp;oop slideshow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After the last picture the slideshow goes on from the first</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HSVAdjustDialog</name>
    <message>
        <source>Hue-Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hue:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Saturation:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Brightness:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImageFormats</name>
    <message>
        <source>All image files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImagePrinter</name>
    <message>
        <source>No image to print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no image you can print</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImagesCentralWidget</name>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save file as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Replace file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show thumbnails bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Metainfo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have unsaved changes in opened files.
Do you really want to quit without saving?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Windows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single window mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tabs instead of subwindows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Vertical tile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Horizontal tile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch view mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SlideShow tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay for slide show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rotate...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change &amp;size...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change &amp;depth...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Adjust colors...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hue-Saturation...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Brightness-Contrast...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set as wallpaper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving as %1 at quality %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate &amp;left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate ri&amp;ght</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip hori&amp;zontally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip &amp;vertically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Crop to selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste as &amp;new picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures cannot be written in the %1 format.
Do you want to save it in another format?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Wrong file suffix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images cannot be saved with the file suffix &quot;%1&quot;.
Please select image format from list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit without saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do&amp;n&apos;t quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Invert colours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImagesDirView</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove to trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InsertDialog</name>
    <message>
        <source>pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enlarge image if needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IsolatedReader</name>
    <message>
        <source>Read error: the picture needs more memory than allowed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error: the decoder failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error: the decoder took too long</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LumoFM::LocationBar</name>
    <message>
        <source>Path not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LumoFM::NavigationActions</name>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LumoFM::RefreshAction</name>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LumoHelpMenu</name>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About lumo-image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LumoScanDialog</name>
    <message>
        <source>Source:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanner:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opening the scanner...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanner could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dpi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scanning failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n page(s) scanned.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>lumo-image</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MetaInfoWidget</name>
    <message>
        <source>No metainfo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MetadataTexts</name>
    <message>
        <source>%1 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(maker note, %1 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(binary, %1 bytes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard output sensitivity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommended exposure index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ISO speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard output sensitivity and recommended exposure index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard output sensitivity and ISO speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recommended exposure index and ISO speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard output sensitivity, recommended exposure index and ISO speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1/%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No flash function</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fired</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Did not fire</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>compulsory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>suppressed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>auto mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>red-eye reduction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no return light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>return light</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewImageDialog</name>
    <message>
        <source>1 Bit / Pixel-8 Bit / Pixel-32 Bit / Pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color depth:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a fill color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureMetadata</name>
    <message>
        <source>unreadable metadata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown file type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read back the written metadata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the picture did not survive adding the metadata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the metadata reader failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WriteQuestions</name>
    <message>
        <source>lumo-image - Write error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The image could not be saved as %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save: The picture was written without its metadata (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Save changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Close image?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current image has unsaved changes that will be lost after closing.
Do you want to save changes?
File will be saved with name %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current image has unsaved changes that will be lost after closing.
Do you still want to close it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumo-image - Save animation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the frame shown is saved; the animation is lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save the frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureWriter</name>
    <message>
        <source>The file was cut short.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrintMethodWidget</name>
    <message>
        <source>mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image print settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale image to fit the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the original image size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set print size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preserve proportions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RGBAdjustDialog</name>
    <message>
        <source>Adjust colors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Red:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Green:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Blue:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReadFailure</name>
    <message>
        <source>Read error: the file is damaged or incomplete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error: the file is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error: the file is not a picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error: no plug-in reads this format (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResizeDialog</name>
    <message>
        <source>Stretch image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Top-Center-Bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left-Center-Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Vertical Alignment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H&amp;orizontal Alignment:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RotateDialog</name>
    <message>
        <source>Enable smoothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;90 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;180 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;270 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SCSizeChanger</name>
    <message>
        <source>pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep ratio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current ratio: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SPicView</name>
    <message>
        <source>Loading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom: %1 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc</source>
        <comment>Exit fullscreen</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste: No usable clipboard content, aborted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo: No backups available, discontinued.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo: No backups available, discontinued.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy: Copy selected area...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy: Copy full image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut: cutting selected area...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reload: Loading image from &quot;%1&quot;...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Not saved)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaneWorker</name>
    <message>
        <source>No scanner is open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanner delivers a picture format that cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanned picture is too large.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scanner delivered no picture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>&amp;Show list in File menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete all entries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Last files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default: a photo read from a JPEG file keeps about its own quality, other pictures are written at 75.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG &amp;quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Library default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0: fastest, largest files; 9: smallest files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG &amp;compression:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sa&amp;ving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert to window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit, no enlarging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>True size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the scale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&amp;oop slideshow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zoom in picture windows:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in &amp;full screen:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slideshow dela&amp;y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vie&amp;wing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Number of undos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of &amp;entries:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default: pictures are written at 75.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>We&amp;bP quality:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SharedActions</name>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolCommandLine</name>
    <message>
        <source>Files and folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try --help for the options.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZoomActions</name>
    <message>
        <source>Zoom In 5%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In 20%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In 50%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out 5%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out 20%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out 50%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>True size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert to window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dialogparts</name>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Run in fullscreen view mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No image files to show in fullscreen view mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: No such file or directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

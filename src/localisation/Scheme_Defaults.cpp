// SPDX-License-Identifier: MIT
// The built-in English texts, shown for any key the string table has no row for.
#include "localisation/Scheme.h"

namespace ps {

TGlobalString BuiltInGlobalStrings() {
    TGlobalString s;
    s.CurrentValue = "Current :";
    s.OutOfIndex = "Out of index (%d)";
    s.NO = "No";
    s.ReadingPrinter = "Reading printer";
    s.WaitingForPrinterRW = "Reading printer, please wait a minute.";
    s.PrinterNotOnline = "The printer not online !";
    s.HintTitle = "Hint";
    s.ErrorTitle = "Error";
    s.ReadPrinterFailRetry =
        "Printer communication error, please make sure the printer supports this function and "
        "restart the printer again before the operation!";
    s.ReadTimeout =
        "The printer value reading is overtime! \\r\\n Please confirm that the printer supports "
        "this function and the cables are connected correctly.";
    s.PrinterNotFound =
        "No printer is found!\\r\\nPlease make sure the interface cable is connected correctly and "
        "the printer should be ONLINE.";
    s.SetPrinterSuccess =
        "Setup is successful.\\r\\n(Some items are likely to take effect after restarting the "
        "printer!)";
    s.SetPrinterTimeout =
        "Setting confirming is overtime! \\r\\n Please confirm that the printer supports this "
        "function and the cables are connected correctly.";
    s.SetPrinterFail =
        "Printer setup failure! \\r\\n Please confirm the cables are connected correctly.";
    s.SetPrinterCantAffirm =
        "Reading the current settings overtime, it is unable to confirm if the printer is set "
        "successfully. \\r\\n Please confirm that the printer supports this function and the "
        "cables are connected correctly. \\r\\n (Some items are likely to take effect after "
        "restarting the printer!)";
    s.SetPrinterFailRetry = "Printer setup failure, please try again later!";
    s.HaveToSelectAnItem = "Must choose one value can the setup goes on!";
    s.PrinterStatusError =
        "Parameter reading failure! Printer may be paper out or offline. \\r\\n The parameter can "
        "not be confirmed.";
    s.PrinterNotFoundOnPort = "Program error ! No target port is found (%s)!";
    s.CanSelectAnItem = "Please select an item";
    s.CanSelectMultiItem = "Can select or cancel several values, use a mouse to click an item.";
    s.StarorCancel =
        "Please confirm your job has finished.\\r\\nPress yes to continue your printing,press no "
        "to do it again.";
    s.LoadPaper = "Please load paper.";
    s.WaitingForPrinterWork = "Printer is working, please wait.";
    s.Clean = "Click OK to clean printhead.";
    s.DeepClean = "Click OK to Deepclean printhead.";
    s.DeepCleanInterval = "You can not use Deepclean within 12 hours.";
    s.Holecheck = "Click OK to check printhead hole.";
    s.Adjust = "Click OK to print the checkpage.";
    s.BearingClean = "Click OK to BearingClean.";
    s.InkFinish = "Finish.";
    s.CleanFinish = "Clean Finish.";
    s.DeepCleanFinish = "Deep Clean Finish.";
    s.SetPrinterSuccessI = "Setup is successful.";
    s.GuideTitle = "Ink Printer Guide";
    s.CleanNewprinter =
        "Please confirm your ink box is ready.\\r\\nPlease use original ink,or maybe cause some "
        "problem,\\r\\nand then you cannot get our service.";
    s.btnNewPrinter = "New Printer";
    s.btnInkset = "Start";
    s.btnInkCancel = "Cancel";
    s.InkInfoTitle = "Explain";
    s.CleanInfo = "If your printer is new,\\r\\npress [Install Ink].";
    s.Step1 = "Dismount the printhead.";
    s.Step2 = "Dismount the Ink heart.";
    s.Step3 = "Setup the Ink heart.";
    s.Step4 = "Setup the printhead.";
    s.Step5 = "Finish.";
    s.bStep1 = "Open the cover.";
    s.bStep2 = "Take the inkbox out.";
    s.bStep3 = "Setup the new ink box.";
    s.bStep4 = "Confirm the inkbox is OK.";
    s.bStep5 = "cover it!";
    s.A4Step1 = "Open the cover.";
    s.A4Step2 = "Open the cover of Print Head.";
    s.A4Step3 = "Take away the paster.";
    s.A4Step4 = "Setup the print head and cover it.";
    s.A4Step5 = "Setup the inkbox.Press ok to install ink.";
    s.CStep1 = "Pull the transparent check valve up vertically.";
    s.CStep2 =
        "Lift the flip cover and gradually remove the old print head in the direction of the "
        "arrow.";
    s.CStep3 = "Gradually remove the old nozzle in the direction of the arrow.";
    s.CStep4 = "Gradually remove the old nozzle in the direction of the arrow.";
    s.CStep5 = "Gradually remove the old nozzle in the direction of the arrow.";
    s.CStep6 =
        "Remove the new sprinkler and install it step by step as directed and ensure that the "
        "components are in place.";
    s.CStep7 =
        "Remove the new sprinkler and install it step by step as directed and ensure that the "
        "components are in place.";
    s.CStep8 =
        "Remove the new sprinkler and install it step by step as directed and ensure that the "
        "components are in place.";
    s.CStep9 =
        "Remove the new sprinkler and install it step by step as directed and ensure that the "
        "components are in place.";
    s.CStep10 =
        "Remove the new sprinkler and install it step by step as directed and ensure that the "
        "components are in place.";
    // QP7Step1 to QP7Step9 have no built-in text.
    s.A4CStep1 = "Open the cover.";
    s.A4CStep2 = "Open the cover of Print Head.";
    s.A4CStep3 = "Take away the paster.";
    s.A4CStep4 = "Setup the print head and cover it.";
    s.A4CStep5 = "Setup the inkbox.Press ok to install ink.";
    s.btnInkPrn = "Print";
    s.ReadData = "Get Data";
    s.IfNewPrint = "Is the printer first time to use?";
    s.Back = "Back";
    s.Next = "Next";
    s.BtnClean = "Clean";
    s.Page = "Print Page";
    s.PageBInfo = "Black Inkbox Page";
    s.PageRInfo = "Red Inkbox Page";
    s.PageTInfo = "Total Page";
    s.InkInfo = "Remainder Ink";
    s.InkBlackBtn = "BlackInk Remaining";
    s.InkRedBtn = "RedInk Remaining";
    s.DraftPrint = "Draft";
    s.NormalPrint = "LQ";
    s.NormalPrint2 = "Normal";
    s.QualityPrint = "Quality";
    s.QualityPrint2 = "Quality2";
    s.QualityPrint3 = "Quality3";
    s.HeadSet = "HeadSet";
    s.PrintResult = "PrintResult";
    s.InstallInk = "Install Ink";
    s.HolecheakTitle = "Hole Cheak";
    s.HolecheakInfo =
        "Press \"Print\" to confirm the nozzles status.\\r\\nIf the result is similar to the "
        "bottom picture,\\r\\npress \"Clean\" to Clean the inkjet head.";
    s.InkWarning =
        "Please confirm the ink box has install right。\\r\\nPlease use the oringinal "
        "ink，\\r\\nmanufacture will not honor warranty\\r\\nwhen using unauthorized  consumable.";
    s.Testpage = "Do you want to print the testpage of Windows?";
    s.InkWaitStr = "Setting is working,please wait.\\r\\nIt may take you almost %s minutes.";
    s.mPrintQueue = "There are some print task in driver,please delete and tray again.";
    s.mSetTime =
        "The clock of the printer has been set to your computer‘ETC,\\r\\nin order for the "
        "settings to take effect,please wait for the printer restart.";
    s.btnInkSetTimer = "Set Printer Clock";
    s.btnInkGetTimer = "Get Printer Clock";
    s.btnInkTimerInfo = "Printer current time";
    s.mNoInkBox = "Can not find Inkbox,pelase confirm Inkbox install correct.";
    s.InputHeadSN = "Input head sn";
    s.HeadSNError = "The head sn is incorrect.";
    s.FeedDistance = "paper feed distance";
    s.SpecialNoteTitle = "Specially hint";
    s.SpecialNote =
        "The function of following picking is the setup that acts for the printer control panel "
        "key realization through this interface to the printer.The contents of setup is to match "
        "with impassability over drive the procedure prints of application.(For example establish "
        "a good printer through this interface, used for a printing of DOS system application.)";
    s.OnlyForTechnical = "Be only provided for technical personnel to use !";
    s.ParametersCaption = "Parameter picking";
    s.ParametersTitle = "The Parameter of picking :";
    s.ParametersNoteTitle = "Explanation :";
    s.ParametersBtnSet = "Set";
    s.ParametersBtnCancel = "Cancel";
    s.ParametersBtnReturn = "Return";
    s.ParametersBtnDefault = "Default";
    s.ParametersBtnOK = "OK";
    s.MainCaption = "setup of parameter";
    s.Group64_Name1 = "Tof Cut Sheets:";
    s.Group64_Name2 = "Length of the card:";
    s.Group64_Name3 = "Left Space:";
    s.Group64_Name4 = "Copy Mode:";
    // Group64_Name21 has no built-in text.
    s.Group64_btnDetect = "Detect:";
    s.Group64_Info =
        "Set card top boundary, the left boundary and starting print position distance, and page "
        "copy ability, etc..";
    s.PutTheCard = "Place the credentials into printer for gage length !";
    s.PaperLengthInvalid = "The length of the paper value is invalid, please re-detect!";
    s.Inch = "Inch";
    s.Layer = "Layer";
    s.Auto = "Auto";
    s.ON_ = "ON";
    s.OFF = "OFF";
    s.PortNotSupport =
        "The current port does not support reading, and the parameter value cannot be confirmed.";
    s.FirewareVersion = "Fireware Version: ";
    return s;
}

}  // namespace ps

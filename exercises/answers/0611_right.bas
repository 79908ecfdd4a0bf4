' Question 611: the view "123" recorded with its print settings.
' expect: ""
' The trainee's machine has a printer: without one the module refuses the question.
Application.ActivePrinter = "HP LaserJet 4 sur LPT1:"
ActiveWindow.Zoom = 110
ActiveSheet.PageSetup.Orientation = xlPortrait
ActiveSheet.PageSetup.CenterHorizontally = True
ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=True, RowColSettings:=True
#check

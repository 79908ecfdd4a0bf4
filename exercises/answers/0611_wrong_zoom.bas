' Question 611: the view recorded before the zoom was set.
' expect: B
' The trainee's machine has a printer: without one the module refuses the question.
Application.ActivePrinter = "HP LaserJet 4 sur LPT1:"
ActiveSheet.PageSetup.Orientation = xlPortrait
ActiveSheet.PageSetup.CenterHorizontally = True
ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=True, RowColSettings:=True
ActiveWindow.Zoom = 110
#check

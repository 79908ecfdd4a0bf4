' Question 611: View, Zoom 110 %; File, Page Setup, portrait, centred horizontally; View, Custom Views, Add "123".
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWindow.Zoom = 110
    With ActiveSheet.PageSetup
        .CenterHorizontally = True
        .Orientation = xlPortrait
    End With
    ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=True, _
        RowColSettings:=True
End Sub
#check
